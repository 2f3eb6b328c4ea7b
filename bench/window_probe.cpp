// bench-window-probe tunekist|bare: starts the program's window (as the program's main does) or a
// bare Qt window, and as soon as the window has painted for the first time prints the process's
// resident memory in kB and exits. The bench times it from the outside.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/main_window.h"
#include "platform/engine/real_engine.h"

namespace {

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// Reports once the paint that is being delivered has finished.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%ld\n", ResidentKb());
                std::fflush(stdout);
                // Only the start-up is measured: no teardown.
                _exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "tunekist") != 0 && std::strcmp(argv[1], "bare") != 0)) {
        std::fprintf(stderr, "usage: bench-window-probe tunekist|bare\n");
        return 2;
    }
    const bool bare = std::strcmp(argv[1], "bare") == 0;
    QApplication application(argc, argv);
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
    } else {
        window = std::make_unique<tunekist::MainWindow>(tunekist::MakeRealEngineFactory());
    }
    FirstPaint watcher;
    window->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
