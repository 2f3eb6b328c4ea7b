#pragma once
// The real window `Main` on Qt's offscreen platform, driven by the virtual-clock engine so that
// songs play deterministically.
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "app/main_window.h"
#include "tests/support/virtual_engine.h"

namespace tunekist::test {

class WindowTest : public ::testing::Test {
protected:
    // Closing runs the window's shutdown, as in the program.
    ~WindowTest() override { window->close(); }

    // Shows the window and lets the platform deliver its show and resize events.
    void Show() {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Gives the window this outer size in pixels (frame included) and lets the layout pass run.
    void ResizeTo(int width, int height) {
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize(width - frame.width(), height - frame.height());
        QCoreApplication::processEvents();
    }

    std::shared_ptr<VirtualWorld> world = std::make_shared<VirtualWorld>();
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(VirtualEngineFactory(world));
};

}  // namespace tunekist::test
