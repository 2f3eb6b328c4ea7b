#pragma once
// The toolkit-free window `Main` with recording controls and the shipped engine: songs generated
// as MP3 files decode through libmpg123 and play through SDL's disk driver into files the tests
// analyse. Ticks of PlayTimer are given by the test, paced by the position of the song.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_form.h"
#include "tests/e2e/capture.h"
#include "tests/support/fake_controls.h"

namespace tunekist::test {

class RealMainTest : public ::testing::Test {
protected:
    RealMainTest();
    ~RealMainTest() override;

    // Adds the song at `path` to the playlist as a click in the song list does, shown as `name`.
    void Queue(const std::string& name, const std::string& path);

    // The engine of the song last started.
    MediaEngine& Engine() const { return *main.state.Graph; }
    double Position() const { return main.state.Graph->get_CurrentPosition(); }
    // Waits until the playing song's position reaches `seconds` (or its end).
    void WaitForPosition(double seconds) const;
    // Waits until the playing song has played to its end.
    void WaitForEnd() const;

    // One tick of PlayTimer, given only while the timer is enabled, as the timer would.
    void Tick();
    // Ticks once for every second of sound while the timer runs, until it stops; each tick
    // comes when the song has moved at least a second on since the last one, or has ended.
    // Records what each tick saw.
    struct TickSeen {
        const MediaEngine* engineBefore;
        bool endedBefore;  // the song had reached its end when the tick came
        const MediaEngine* engineAfter;
        bool playingAfter;
        std::string TijdLabel;
    };
    std::vector<TickSeen> TickUntilTheTimerStops();

    // Releases the engines (as closing the window does) and analyses the sound of every song
    // played, in the order they were started.
    std::vector<Heard> HeardAfterClosing();

    CapturingEngines engines{"main"};
    FakeForm form;
    FakeMessageBox messages;
    FakeShape Rand1;
    FakeFileList File1;
    FakeListBox List1;
    FakeListView ListView1, ListView2;
    FakeLabel Label3{"Play song"}, TijdLabel{"00:00"}, Label5{"Totaal : 00:00:00"}, BarLabel{"0%"};
    FakePictureBox Bar;
    FakeSlider VolSlider;
    FakeTimer PlayTimer;
    FakeDriveList Drive1;
    FakeDirList Dir1;
    FakeLabel Label1{"0 Songs"}, Label2{"Totaal : 00:00:00"};
    FakeDesktop desktop;
    Main main{MainControls{form, messages, Rand1, File1, List1, ListView1, ListView2, Label3, TijdLabel, Label5,
                           BarLabel, Bar, VolSlider, PlayTimer, Drive1, Dir1, Label1, Label2, desktop},
              engines.Factory()};
};

// Frames of a song of `seconds` at 44.1 kHz.
constexpr std::size_t FramesOf(double seconds) { return static_cast<std::size_t>(seconds * 44100 + 0.5); }

}  // namespace tunekist::test
