#pragma once
// The real window `Main` on Qt's offscreen platform, driven by the virtual-clock engine so that
// songs play deterministically.
#include <gtest/gtest.h>
#include <memory>

#include "app/main_window.h"
#include "tests/support/virtual_engine.h"

namespace tunekist::test {

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // Shows the window and lets the platform deliver its show and resize events.
    void Show();
    // Gives the window this outer size in pixels (frame included) and lets the layout pass run.
    void ResizeTo(int width, int height);

    std::shared_ptr<VirtualWorld> world = std::make_shared<VirtualWorld>();
    std::unique_ptr<MainWindow> window;
};

}  // namespace tunekist::test
