#include "tests/window/window_fixture.h"

#include <QCoreApplication>
#include <QTest>

namespace tunekist::test {

WindowTest::WindowTest() : window(std::make_unique<MainWindow>(VirtualEngineFactory(world))) {}

WindowTest::~WindowTest() {
    // Closing runs the window's shutdown, as in the program.
    window->close();
}

void WindowTest::Show() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::ResizeTo(int width, int height) {
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(width - frame.width(), height - frame.height());
    QCoreApplication::processEvents();
}

}  // namespace tunekist::test
