// The once-a-second tick through the shipped engine: the queue plays through to its end, each song
// giving way at the first tick after it ends, and the end of the queue is told once.
#include <gtest/gtest.h>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(PlayerWindowTest, TwoSongsPlayEndToEndEachGivingWayAtTheFirstTickAfterItsEnd) {
    Queue("drie", CachedTone(3.0, 440));
    Queue("vier", CachedTone(4.0, 880));
    Press(kPlay);
    const std::vector<TickSeen> ticks = TickUntilTheTimerStops();

    // Ticks come a second of sound apart. Two of them move on: from the first song to the
    // second, and from the second to the empty queue. A tick that finds a song ended is always
    // one of them, so no song is left lying at its end for a later tick.
    std::vector<std::size_t> movedOn;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool gaveWay = ticks[i].engineAfter != ticks[i].engineBefore || !ticks[i].playingAfter;
        if (gaveWay) movedOn.push_back(i);
        if (ticks[i].endedBefore) {
            EXPECT_TRUE(gaveWay) << "tick " << i;
        }
    }
    ASSERT_EQ(movedOn.size(), 2u);
    EXPECT_EQ(movedOn[1], ticks.size() - 1);
    EXPECT_TRUE(ticks[movedOn[0]].playingAfter);
    // The tick that moves on shows the next song from its start, not the end of the last one.
    EXPECT_TRUE(ticks[movedOn[0]].time == "00:00" || ticks[movedOn[0]].time == "00:01")
        << ticks[movedOn[0]].time;
    // Each song is ticked while it plays, and the time label follows it.
    EXPECT_GE(movedOn[0], 1u);
    EXPECT_GE(movedOn[1] - movedOn[0], 1u);
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        if (i != movedOn[0] && i != movedOn[1]) {
            EXPECT_LE(ticks[i - 1].time, ticks[i].time) << "tick " << i;
        }
    }
    EXPECT_EQ(messages, Strings{kFillPlaylist});
    EXPECT_FALSE(TimerRuns());
    EXPECT_FALSE(program().state.Playing);
    EXPECT_TRUE(QueuedPaths().empty());
    EXPECT_TRUE(QueuedNames().empty());
    EXPECT_EQ(Text(window->Label3), "vier");

    // The timer is off; a tick that came anyway would find nothing playing.
    window->Handle([&] { program().PlayTimer_Timer(); });
    EXPECT_EQ(messages.size(), 1u);

    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(3.0), 10.0);
    EXPECT_NEAR(heard[1].hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), FramesOf(4.0), 10.0);
}

}  // namespace
}  // namespace tunekist::test
