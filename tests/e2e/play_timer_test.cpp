// The once-a-second tick through the shipped engine: the queue plays through to its end, each song
// giving way at the first tick after it ends, and the time label and bar follow the position.
#include <gtest/gtest.h>


#include "playback/progress_bar.h"
#include "tests/e2e/real_main_fixture.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

constexpr std::int16_t kPlay = 0, kPauze = 1, kRew = 2, kForew = 3;
using Strings = std::vector<std::string>;
using Box = FakePictureBox::Box;

TEST_F(RealMainTest, TwoSongsPlayEndToEndEachGivingWayAtTheFirstTickAfterItsEnd) {
    Queue("drie", CachedTone(3.0, 440));
    Queue("vier", CachedTone(4.0, 880));
    main.Knop_Click(kPlay);
    const std::vector<TickSeen> ticks = TickUntilTheTimerStops();

    // Ticks come a second of sound apart. Two of them move on: from the first song to the
    // second, and from the second to the empty queue. A tick that finds a song ended is always
    // one of them, so no song is left lying at its end for a later tick.
    std::vector<std::size_t> movedOn;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool gaveWay = ticks[i].engineAfter != ticks[i].engineBefore || !ticks[i].playingAfter;
        if (gaveWay) movedOn.push_back(i);
        if (ticks[i].endedBefore) EXPECT_TRUE(gaveWay) << "tick " << i;
    }
    ASSERT_EQ(movedOn.size(), 2u);
    EXPECT_EQ(movedOn[1], ticks.size() - 1);
    EXPECT_TRUE(ticks[movedOn[0]].playingAfter);
    EXPECT_FALSE(ticks.back().playingAfter);
    // Each song is ticked while it plays, and the time label follows it.
    EXPECT_GE(movedOn[0], 1u);
    EXPECT_GE(movedOn[1] - movedOn[0], 1u);
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        if (i != movedOn[0] && i != movedOn[1]) EXPECT_LE(ticks[i - 1].TijdLabel, ticks[i].TijdLabel) << "tick " << i;
    }
    EXPECT_EQ(messages.shown, Strings{"Playlist vullen a.u.b. "});
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_FALSE(main.state.Playing);
    EXPECT_TRUE(List1.items.empty());
    EXPECT_EQ(ListView2.RowCount(), 0);
    EXPECT_EQ(Label3.caption, "vier");

    // The timer is off; a tick that came anyway would find nothing playing.
    main.PlayTimer_Timer();
    EXPECT_EQ(messages.shown.size(), 1u);

    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(3.0), 10.0);
    EXPECT_NEAR(heard[1].hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), FramesOf(4.0), 10.0);
}

TEST_F(RealMainTest, AdvanceShowsTheNextSongFromItsStartInTheSameTick) {
    const std::string second = CachedTone(3.0, 880);
    Queue("een", CachedTone(1.0, 440));
    Queue("twee", second);
    main.Knop_Click(kPlay);
    WaitForEnd();
    const MediaEngine* first = &Engine();
    Tick();
    ASSERT_NE(&Engine(), first);
    EXPECT_EQ(List1.items, Strings{second});
    EXPECT_EQ(Label3.caption, "twee");
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:03");
    EXPECT_TRUE(main.state.Playing);
    EXPECT_TRUE(PlayTimer.enabled);
    // The new song has only just started: it shows its first second, nowhere near its end.
    EXPECT_LT(Position(), 3.0);
    EXPECT_TRUE(TijdLabel.caption == "00:00" || TijdLabel.caption == "00:01") << TijdLabel.caption;
}

struct Shown {
    const char* name;
    double position;
    const char* time;
    const char* percent;
    int barTop;
};

void PrintTo(const Shown& shown, std::ostream* out) { *out << shown.name; }

class TickShows : public RealMainTest, public ::testing::WithParamInterface<Shown> {};

// A 10 s song held at a position: the tick shows that position, whole seconds rounded half to
// even, and the bar two pixels per percent up from the bottom.
TEST_P(TickShows, TheRoundedPositionAndItsBar) {
    const Shown& shown = GetParam();
    Queue("tien", CachedTone(10.0, 440));
    main.Knop_Click(kPlay);
    main.Knop_Click(kPauze);
    main.state.GraphPosition->put_CurrentPosition(shown.position);
    Tick();
    EXPECT_EQ(TijdLabel.caption, shown.time);
    EXPECT_EQ(BarLabel.caption, shown.percent);
    EXPECT_EQ(Bar.boxes, (std::vector<Box>{{0, 200, 41, shown.barTop, kBarColor}}));
}

INSTANTIATE_TEST_SUITE_P(Positions, TickShows,
                         ::testing::Values(Shown{"Start", 0.0, "00:00", "0%", 197},
                                           Shown{"TwoAndAHalfDown", 2.5, "00:02", "25%", 147},
                                           Shown{"ThreeAndAHalfUp", 3.5, "00:04", "35%", 127},
                                           Shown{"Quarter", 4.25, "00:04", "42%", 113},
                                           Shown{"NearlyEnd", 9.999, "00:10", "100%", -3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMainTest, RewErasesTheBarWhichTheNextTickDrawsLower) {
    Queue("twintig", CachedTone(20.0, 440));
    main.Knop_Click(kPlay);
    main.Knop_Click(kPauze);
    main.state.GraphPosition->put_CurrentPosition(17.0);
    Tick();
    EXPECT_EQ(BarLabel.caption, "85%");
    main.Knop_Click(kRew);
    EXPECT_TRUE(Bar.boxes.empty());
    EXPECT_EQ(BarLabel.caption, "85%");
    EXPECT_EQ(Position(), 2.0);
    Tick();
    EXPECT_EQ(TijdLabel.caption, "00:02");
    EXPECT_EQ(BarLabel.caption, "10%");
    EXPECT_EQ(Bar.boxes, (std::vector<Box>{{0, 200, 41, 177, kBarColor}}));
}

TEST_F(RealMainTest, ForewInTheLastFifteenSecondsEndsTheSongAtTheNextTick) {
    const std::string second = CachedTone(1.0, 880);
    Queue("twintig", CachedTone(20.0, 440));
    Queue("een", second);
    main.Knop_Click(kPlay);
    main.Knop_Click(kPauze);
    main.state.GraphPosition->put_CurrentPosition(10.0);
    main.Knop_Click(kForew);
    EXPECT_EQ(Position(), 20.0);
    EXPECT_EQ(List1.ListCount(), 2);
    Tick();
    EXPECT_EQ(List1.items, Strings{second});
    EXPECT_EQ(Label3.caption, "een");
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealMainTest, ForewOnTheLastSongShowsTheMessageOnceAtTheNextTick) {
    Queue("twintig", CachedTone(20.0, 440));
    main.Knop_Click(kPlay);
    main.Knop_Click(kForew);
    main.Knop_Click(kForew);
    Tick();
    Tick();
    EXPECT_EQ(messages.shown, Strings{"Playlist vullen a.u.b. "});
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_TRUE(List1.items.empty());
}

}  // namespace
}  // namespace tunekist::test
