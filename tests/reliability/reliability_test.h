#pragma once
// What the reliability tests share: the real window with its sound discarded, a folder of the
// test's own, the state a queue played out leaves, and a watch that no file of a folder is ever
// written.

#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {

using Strings = std::vector<std::string>;

class ReliabilityTest : public QuietWindowTest {
protected:
    const ListView& Rows() const { return program().Controls().ListView1; }
    bool Playing() const { return program().state.Playing; }
    // Ticks until the timer stops; then every song has played or been passed, both lists are
    // empty, the player rests, every message said the playlist ran out (just once when `once`), and
    // never more than two engines were alive.
    void ExpectPlayedOut(bool once = true) {
        EXPECT_LT(TickUntilTheTimerStops(500).size(), 500u);
        EXPECT_EQ(QueuedPaths(), Strings{});
        EXPECT_EQ(QueuedNames(), Strings{});
        EXPECT_FALSE(Playing());
        EXPECT_FALSE(TimerRuns());
        EXPECT_TRUE(once ? messages.size() == 1 : !messages.empty()) << messages.size() << " messages";
        EXPECT_LE(engines.PeakAlive(), 2);
    }

    // From now on until the test ends with Exit, no file in `watched` may be opened for writing,
    // created, moved, deleted or changed in its contents or attributes.
    void WatchFolder(const std::string& watched) {
        watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        const std::uint32_t writes = IN_ALL_EVENTS & ~(IN_ACCESS | IN_OPEN | IN_CLOSE_NOWRITE);
        ASSERT_GE(inotify_add_watch(watch_, watched.c_str(), writes), 0);
    }
    void TearDown() override {
        // A test that gave up root to be refused a file takes it back.
        EXPECT_TRUE(geteuid() == getuid() || seteuid(getuid()) == 0);
        if (watch_ < 0) return;
        Press(kExit);
        alignas(inotify_event) char buffer[4096];
        const auto* event = reinterpret_cast<const inotify_event*>(buffer);
        EXPECT_LT(read(watch_, buffer, sizeof buffer), 0)
            << "written in a watched folder: " << (event->len ? event->name : ".") << ", event mask " << event->mask;
        close(watch_);
    }

    ScratchFolder folder{"reliability"};

private:
    int watch_ = -1;
};

}  // namespace tunekist::test
