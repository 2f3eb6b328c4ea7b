#pragma once
// The toolkit-free window `Main` over real folders and real engines: the real folder file list
// reads the disk, every engine is a real one (sound goes to SDL's disk driver), and the other
// controls are the recording fakes. Tests list a folder, click rows, press commands and tick the
// timer as the window would.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/main_form.h"
#include "platform/files/folder_file_list.h"
#include "tests/reliability/counted_engines.h"
#include "tests/support/fake_controls.h"

namespace tunekist::test {

inline constexpr std::int16_t kPlay = 0, kPauze = 1, kNext = 4, kStop = 5;
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

class ReliableMainTest : public ::testing::Test {
protected:
    // Sound goes to `soundFile` through SDL's disk driver, unthrottled.
    explicit ReliableMainTest(const std::string& soundFile = "/dev/null");
    ~ReliableMainTest() override;

    // Lists `folder` in the song list, as choosing it in the folder list does.
    void ListFolder(const std::string& folder);
    // Clicks the song list's row whose file is `fileName` (its tag); fails the test when absent.
    void ClickSong(const std::string& fileName);
    // The song list's row of `fileName`, or 0.
    int RowOf(const std::string& fileName) const;
    // The song list's and the playlist's files (row tags) and the playlist's paths.
    std::vector<std::string> ListedFiles() const;

    // Ticks PlayTimer (while it is enabled) each time the playing song has moved on, until the
    // timer stops or `maxTicks` ticks came. Returns the number of ticks, or `maxTicks` when the
    // playing song stood still twice in a row. Bounded by tries, never by the clock.
    int TickUntilTheTimerStops(int maxTicks = 2000);
    // Waits until the playing song has reached `seconds` or its end; false when it stood still.
    bool WaitForPosition(double seconds) const;

    CountedEngines engines;
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

}  // namespace tunekist::test
