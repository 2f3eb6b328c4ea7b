#pragma once
// The real window `Main` on Qt's offscreen platform with the shipped engine: buttons are clicked,
// the real PlayTimer ticks once a second, and the sound goes through SDL's disk driver into
// files the tests analyse. Message boxes are answered as a person would, and recorded.

#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/e2e/capture.h"

namespace tunekist::test {

// What a message box showed before it was answered with OK.
struct BoxSeen {
    std::string title;
    std::string text;
    bool noIcon;
    bool onlyOk;
};

class RealWindowTest : public ::testing::Test {
protected:
    RealWindowTest();
    ~RealWindowTest() override;

    // Shows the window and waits until it is on the screen.
    void Show();
    // Puts the song at `path` at the end of the playlist, shown as `name`, and measures the
    // playlist as a click in the song list does.
    void Queue(const std::string& name, const std::string& path);
    // Presses and releases the mouse button in the middle of `control`.
    static void Click(QWidget* control);
    // Runs the event loop (the timer, the engine's progress) until `done` holds, for a bounded
    // number of rounds. Returns whether it held.
    static bool RunUntil(const std::function<bool()>& done);
    // The rows of the playlist's view.
    int PlaylistRows() const;
    // The colour of a pixel of the progress bar as it is drawn on the screen.
    QColor BarPixel(int x, int y) const;

    CapturingEngines engines{"window"};
    std::unique_ptr<MainWindow> window;
    std::vector<BoxSeen> boxes;

private:
    QTimer boxAnswerer_;
};

}  // namespace tunekist::test
