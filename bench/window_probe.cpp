// bench-window-probe tunekist|bare|label: starts the program's window (as the program's main does),
// a bare Qt window, or a bare Qt window showing one line of text, and as soon as the window has painted for the first time prints the process's
// resident memory in kB and exits. The bench times it from the outside.

#include <QApplication>
#include <QEvent>
#include <QLabel>
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
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode != "tunekist" && mode != "bare" && mode != "label") {
        std::fprintf(stderr, "usage: bench-window-probe tunekist|bare|label\n");
        return 2;
    }
    QApplication application(argc, argv);
    std::unique_ptr<QWidget> window;
    if (mode == "bare") {
        window = std::make_unique<QWidget>();
    } else if (mode == "label") {
        window = std::make_unique<QLabel>("Tunekist");
    } else {
        window = std::make_unique<tunekist::MainWindow>(tunekist::MakeRealEngineFactory());
    }
    FirstPaint watcher;
    window->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
