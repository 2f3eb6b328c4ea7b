// bench-window-probe tunekist|bare|label: starts the program's window (as the program's main does),
// a bare Qt window, or a bare Qt window showing one line of text, and as soon as the window has
// painted for the first time prints the process's resident memory in kB and exits. The bench
// times it from the outside.
//
// bench-window-probe list FOLDER: opens FOLDER in the program's window as the folder list does when
// a person picks it, and prints what the listing cost from the opening until its last row was
// painted: processor seconds, wall seconds, the rows listed and the longest stretch in ms between
// two turns of the window's event loop, on the clock and in the window thread's processor time.
//
// bench-window-probe change FOLDER: lists FOLDER (at least three short songs), clicks the first
// three into the playlist and presses Play, then Next, then lets the second song end by itself;
// prints the longest stretch in ms between two turns of the event loop around Play (from rest: no
// sound device open yet), the time from Play until the device has taken the song's first samples,
// and the longest stretches around Next and around the song's own end. With songs at different
// sample rates, Next and the end each change the device.

#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

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

double ThreadCpuNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// The longest stretch between two turns of the event loop, seen by a timer that asks for a turn
// every millisecond: on the clock, and in the window thread's processor time (the work done in
// it, without the time other programs of a busy machine held the processor).
class GapWatch {
public:
    GapWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Turn(); });
        clock_.start();
        timer_.start();
    }
    void Reset() {
        last_ = clock_.nsecsElapsed();
        lastCpu_ = ThreadCpuNanoseconds();
        longest_ = 0;
        longestCpu_ = 0;
    }
    // The longest stretch since Reset, the one up to now included.
    double LongestMs() {
        Turn();
        return static_cast<double>(longest_) / 1e6;
    }
    double LongestCpuMs() {
        Turn();
        return longestCpu_ / 1e6;
    }

private:
    void Turn() {
        const qint64 now = clock_.nsecsElapsed();
        const double cpu = ThreadCpuNanoseconds();
        longest_ = std::max(longest_, now - last_);
        longestCpu_ = std::max(longestCpu_, cpu - lastCpu_);
        last_ = now;
        lastCpu_ = cpu;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    double lastCpu_ = 0;
    double longestCpu_ = 0;
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Lets the event loop run for `milliseconds`.
void Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Shows the window and lets it settle until it is on the screen.
void ShowAndSettle(tunekist::MainWindow& window) {
    window.show();
    for (int i = 0; i < 500 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i) Wait(10);
    Wait(200);
}

int ListFolder(const std::string& folder) {
    tunekist::MainWindow window(tunekist::MakeRealEngineFactory());
    ShowAndSettle(window);
    GapWatch gaps;
    gaps.Reset();
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    window.Dir1->SetPath(folder);
    // The paint that shows the last rows and the totals.
    QCoreApplication::processEvents();
    const double cpuSpent = CpuSeconds() - cpu;
    const double wallSpent = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    const double gapCpu = gaps.LongestCpuMs();
    std::printf("%.6f %.6f %d %.3f %.3f\n", cpuSpent, wallSpent, window.ListView1->topLevelItemCount(),
                gaps.LongestMs(), gapCpu);
    std::fflush(stdout);
    _exit(0);
}

int ChangeSongs(const std::string& folder) {
    tunekist::MainWindow window(tunekist::MakeRealEngineFactory());
    ShowAndSettle(window);
    window.Dir1->SetPath(folder);
    if (window.ListView1->topLevelItemCount() < 3) return 1;
    for (int row = 0; row < 3; ++row) {
        window.ListView1->setCurrentItem(window.ListView1->topLevelItem(row));
        window.program().playlist.ListView1_ItemClick();
    }
    GapWatch gaps;
    gaps.Reset();
    QElapsedTimer sincePlay;
    sincePlay.start();
    window.program().Knop_Click(0);
    const tunekist::IMediaPosition& position = window.program().state.GraphPosition;
    double firstSamples = -1;
    for (int i = 0; i < 2000 && firstSamples < 0; ++i) {
        if (position && position->get_CurrentPosition() > 0) firstSamples = sincePlay.nsecsElapsed() / 1e6;
        Wait(1);
    }
    const double atPlay = gaps.LongestMs();
    Wait(300);
    gaps.Reset();
    window.program().Knop_Click(4);
    Wait(300);
    const double atNext = gaps.LongestMs();
    // The second song ends by itself; the play timer moves the queue on to the third.
    Wait(50);
    gaps.Reset();
    for (int i = 0; i < 1000 && window.List1->count() > 1; ++i) Wait(10);
    Wait(300);
    const double atEnd = gaps.LongestMs();
    std::printf("%.3f %.3f %.3f %.3f %d\n", atPlay, firstSamples, atNext, atEnd, window.List1->count());
    std::fflush(stdout);
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 2 ? argv[1] : "";
    const bool folderMode = (mode == "list" || mode == "change") && argc == 3;
    if (mode != "tunekist" && mode != "bare" && mode != "label" && !folderMode) {
        std::fprintf(stderr, "usage: bench-window-probe tunekist|bare|label, or list|change FOLDER\n");
        return 2;
    }
    QApplication application(argc, argv);
    if (mode == "list") return ListFolder(argv[2]);
    if (mode == "change") return ChangeSongs(argv[2]);
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
