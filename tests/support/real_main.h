#pragma once
// The toolkit-free window `Main` over the real disk and real engines: the real folder file list
// reads folders, every engine is a RealEngine playing through SDL's disk driver, and the other
// controls are the recording fakes. Tests list folders, click rows, press commands and give the
// ticks of PlayTimer, paced by the position of the playing song.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/files/folder_file_list.h"
#include "tests/support/fake_controls.h"
#include "tests/support/real_engines.h"

namespace tunekist::test {

inline constexpr std::int16_t kPlay = 0, kPauze = 1, kRew = 2, kForew = 3, kNext = 4, kStop = 5;
inline constexpr const char* kFillPlaylist = "Playlist vullen a.u.b. ";

// File lengths from the disk, Dutch digit grouping; each yield runs `onYield` once.
class DiskDesktop : public Desktop {
public:
    void SetMousePointer(int /*pointer*/) override {}
    void DoEvents() override;
    std::int64_t FileLen(const std::string& path) const override;
    std::string GroupSeparator() const override { return "."; }
    std::function<void()> onYield;
};

class RealMainTest : public ::testing::Test {
protected:
    // kCaptured: each engine's sound goes to a capture file of its own, a millisecond per device
    // period. kDiscarded: all sound goes to /dev/null as fast as the decoder makes it.
    enum Sound { kCaptured, kDiscarded };
    explicit RealMainTest(Sound sound = kCaptured);
    ~RealMainTest() override;

    // Lists `folder` in the song list, as choosing it in the folder list does.
    void ListFolder(const std::string& folder);
    // Clicks the song list's row whose file is `fileName` (its tag); fails the test when absent.
    void ClickSong(const std::string& fileName);
    // Adds the song at `path` to the playlist as a click in the song list does, shown as `name`.
    void Queue(const std::string& name, const std::string& path);
    // The song list's row of `fileName`, or 0.
    int RowOf(const std::string& fileName) const;
    // The files (row tags) of the song list.
    std::vector<std::string> ListedFiles() const;

    MediaEngine& Engine() const { return *main.state.Graph; }
    double Position() const { return main.state.Graph->get_CurrentPosition(); }
    // Waits until the playing song has reached `seconds` or its end; false when it stood still.
    bool WaitForPosition(double seconds) const;
    bool WaitForEnd() const { return WaitForPosition(Engine().get_Duration()); }

    // One tick of PlayTimer, given only while the timer is enabled, as the timer would.
    void Tick();
    // Ticks while the timer runs and a song plays, until it stops or `maxTicks` came; each tick
    // comes when the playing song has moved a second on since the last one, or has ended. A song
    // that stands still fails the test. Records what each tick saw.
    struct TickSeen {
        const MediaEngine* engineBefore;
        bool endedBefore;  // the song had reached its end when the tick came
        const MediaEngine* engineAfter;
        bool playingAfter;
        std::string TijdLabel;
    };
    std::vector<TickSeen> TickUntilTheTimerStops(int maxTicks = 2000);

    RealEngines engines{"main"};
    FakeForm form;
    FakeMessageBox messages;
    FakeShape Rand1;
    FolderFileList File1;
    FakeListBox List1;
    FakeListView ListView1, ListView2;
    FakeLabel Label3{"Play song"}, TijdLabel{"00:00"}, Label5{"Totaal : 00:00:00"}, BarLabel{"0%"};
    FakePictureBox Bar;
    FakeSlider VolSlider;
    FakeTimer PlayTimer;
    FakeDriveList Drive1;
    FakeDirList Dir1;
    FakeLabel Label1{"0 Songs"}, Label2{"Totaal : 00:00:00"};
    DiskDesktop desktop;
    Main main{MainControls{form, messages, Rand1, File1, List1, ListView1, ListView2, Label3, TijdLabel, Label5,
                           BarLabel, Bar, VolSlider, PlayTimer, Drive1, Dir1, Label1, Label2, desktop},
              engines.Factory()};
};

// The same with the sound discarded, for tests of what the program does rather than of what is heard.
class QuietMainTest : public RealMainTest {
protected:
    QuietMainTest() : RealMainTest(kDiscarded) {}
};

}  // namespace tunekist::test
