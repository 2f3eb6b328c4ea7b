#pragma once
// The program as a person meets it: the real window `Main` on Qt's offscreen platform, over the
// real disk and real engines (libmpg123 + SDL's disk driver). Tests open folders in the folder
// list, click rows and buttons with the mouse, read what the controls show, and hear what was
// played. The play timer only ticks when a test says so, each tick as the window's own timer gives it.

#include <gtest/gtest.h>
#include <QLabel>
#include <QMessageBox>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/support/real_engines.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/sound_capture.h"

namespace tunekist::test {

inline constexpr std::int16_t kPlay = 0, kPauze = 1, kRew = 2, kForew = 3, kNext = 4, kStop = 5, kExit = 6;
inline constexpr const char* kFillPlaylist = "Playlist vullen a.u.b. ";
using Strings = std::vector<std::string>;

class PlayerWindowTest : public ::testing::Test {
protected:
    // kCaptured: the sound goes to a capture file, a millisecond per device period. kDiscarded:
    // it goes to /dev/null as fast as the decoder makes it, for tests of what the program does.
    enum Sound { kCaptured, kDiscarded };
    explicit PlayerWindowTest(Sound sound = kCaptured);
    ~PlayerWindowTest() override;

    // Gives the window this outer size in pixels (frame included) and lets the layout pass run.
    void ResizeTo(int width, int height);

    // Opens `folder` in the folder list, which lists it in the song list.
    void ListFolder(const std::string& folder);
    // Clicks the song list's row of `fileName` with the mouse; fails the test when it is absent.
    void ClickSong(const std::string& fileName);
    // Queues the song at `path` shown as `name`: lists a folder holding just that song as
    // `name`.mp3, and clicks its row.
    void Queue(const std::string& name, const std::string& path);
    // Clicks command button kPlay ... kStop, or kExit, with the mouse.
    void Press(std::int16_t command);
    // One tick of PlayTimer, given only while the timer runs.
    void Tick();
    bool TimerRuns() const { return window->PlayTimer->isActive(); }

    // The files of the song list's rows, in order.
    Strings ListedFiles() const;
    // The texts of the playlist's rows and the paths queued behind them (raw bytes), in order.
    Strings QueuedNames() const;
    Strings QueuedPaths() const;
    static std::string Text(const QLabel* label) { return label->text().toStdString(); }
    // Whether the progress bar shows any fill.
    bool BarShowsFill() const;

    Main& program() const { return window->program(); }
    MediaEngine& Engine() const { return *program().state.Graph; }
    double Position() const { return Engine().get_CurrentPosition(); }
    // Waits until the playing song has reached `seconds` or its end; false when it stood still.
    bool WaitForPosition(double seconds) const;
    bool WaitForEnd() const { return WaitForPosition(Engine().get_Duration()); }

    // Ticks while the timer runs and a song plays, until it stops or `maxTicks` came; each tick
    // comes when the playing song has moved a second on since the last one, or has ended. A song
    // that stands still fails the test.
    struct TickSeen {
        const MediaEngine* engineBefore;
        bool endedBefore;  // the song had reached its end when the tick came
        const MediaEngine* engineAfter;
        bool playingAfter;
        std::string time;  // TijdLabel after the tick
    };
    std::vector<TickSeen> TickUntilTheTimerStops(int maxTicks = 2000);

    // Closes the window, which releases its engines, and analyses the sound of every song that
    // was played, in the order they started.
    std::vector<Heard> HeardAfterClosing();

    RealEngines engines{"window"};
    ScratchFolder scratch{"player-window"};
    // Every message box shown, closed with OK as soon as it opened and `duringMessage` (if set) has run.
    Strings messages;
    std::function<void(QMessageBox&)> duringMessage;
    std::unique_ptr<MainWindow> window;

private:
    int queued_ = 0;
};

// The same with the sound discarded.
class QuietWindowTest : public PlayerWindowTest {
protected:
    QuietWindowTest() : PlayerWindowTest(kDiscarded) {}
};

}  // namespace tunekist::test
