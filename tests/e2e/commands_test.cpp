// The command buttons' procedures through the shipped engine: what is heard after Play, Pauze,
// Rew, Forew, Stop, Next and closing, measured in the sound the audio device received.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/e2e/real_main_fixture.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

constexpr std::int16_t kPlay = 0, kPauze = 1, kRew = 2, kForew = 3, kNext = 4, kStop = 5;
using Strings = std::vector<std::string>;

struct Tone {
    const char* name;
    double hz;
    double amplitude;
};

void PrintTo(const Tone& tone, std::ostream* out) { *out << tone.name; }

class PlayIsHeard : public RealMainTest, public ::testing::WithParamInterface<Tone> {};

TEST_P(PlayIsHeard, AtTheSongsPitchLevelAndLength) {
    const Tone& tone = GetParam();
    const std::string song = CachedTone(1.0, tone.hz, {.amplitude = tone.amplitude});
    Queue(tone.name, song);
    main.Knop_Click(kPlay);
    EXPECT_EQ(Label3.caption, tone.name);
    EXPECT_TRUE(main.state.Playing);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].hz, tone.hz, 2.0);
    EXPECT_NEAR(heard[0].rmsDb, DecodedRmsDb(song), 0.05);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(1.0), 10.0);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Tones, PlayIsHeard,
                         ::testing::Values(Tone{"A440", 440, 0.5}, Tone{"A880Soft", 880, 0.25},
                                           Tone{"Low220Loud", 220, 0.9}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMainTest, PauzePauzeResumesWhereItPaused) {
    Queue("tien", CachedTone(10.0, 440));
    main.Knop_Click(kPlay);
    WaitForPosition(1.0);
    main.Knop_Click(kPauze);
    EXPECT_EQ(Engine().GetState(0), StatePaused);
    EXPECT_TRUE(main.state.Playing);
    const double paused = Position();
    Tick();
    const std::string shown = TijdLabel.caption;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Tick();
    EXPECT_EQ(Position(), paused);
    EXPECT_EQ(TijdLabel.caption, shown);

    main.Knop_Click(kPauze);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    WaitForEnd();
    // Nothing skipped and nothing played twice: the whole song was heard once.
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(10.0), 10.0);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
}

struct Skip {
    const char* name;
    double from;
    std::int16_t command;
    double to;
};

void PrintTo(const Skip& skip, std::ostream* out) { *out << skip.name; }

class SkipMoves : public RealMainTest, public ::testing::WithParamInterface<Skip> {};

TEST_P(SkipMoves, FifteenSecondsAndClampsToTheSong) {
    const Skip& skip = GetParam();
    Queue("twintig", CachedTone(20.0, 440));
    main.Knop_Click(kPlay);
    main.Knop_Click(kPauze);
    main.state.GraphPosition->put_CurrentPosition(skip.from);
    const int resets = Bar.resets;
    main.Knop_Click(skip.command);
    EXPECT_EQ(Position(), skip.to);
    EXPECT_EQ(Bar.resets, resets + 1);
    EXPECT_TRUE(Bar.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Positions, SkipMoves,
                         ::testing::Values(Skip{"RewBack", 16.25, kRew, 1.25}, Skip{"RewToStart", 15.0, kRew, 0.0},
                                           Skip{"RewClampsAtStart", 10.0, kRew, 0.0},
                                           Skip{"ForewOn", 2.5, kForew, 17.5}, Skip{"ForewToEnd", 5.0, kForew, 20.0},
                                           Skip{"ForewClampsAtEnd", 6.0, kForew, 20.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealMainTest, ForewSkipsFifteenSecondsOfSound) {
    Queue("twintig", CachedTone(20.0, 440));
    main.Knop_Click(kPlay);
    WaitForPosition(0.5);
    main.Knop_Click(kPauze);
    const double before = Position();
    main.Knop_Click(kForew);
    EXPECT_NEAR(Position(), before + 15.0, 1e-9);
    main.Knop_Click(kPauze);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(5.0), 10.0);
}

TEST_F(RealMainTest, StopThenPlayRestartsTheSongFromItsBeginning) {
    Queue("tien", CachedTone(10.0, 440));
    main.Knop_Click(kPlay);
    WaitForPosition(1.0);
    main.Knop_Click(kStop);
    EXPECT_FALSE(main.state.Playing);
    EXPECT_FALSE(PlayTimer.enabled);
    EXPECT_EQ(Engine().GetState(0), StateStopped);
    EXPECT_EQ(List1.items.size(), 1u);
    const double stoppedAt = Position();
    const MediaEngine* stopped = &Engine();

    main.Knop_Click(kPlay);
    EXPECT_NE(&Engine(), stopped);
    EXPECT_TRUE(main.state.Playing);
    EXPECT_TRUE(PlayTimer.enabled);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), stoppedAt * 44100, 10.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), FramesOf(10.0), 10.0);
}

TEST_F(RealMainTest, NextDropsTheHeadAndPlaysTheNextSong) {
    const std::string second = CachedTone(2.0, 880);
    Queue("een", CachedTone(10.0, 440));
    Queue("twee", second);
    main.Knop_Click(kPlay);
    WaitForPosition(1.0);
    main.Knop_Click(kNext);
    EXPECT_EQ(List1.items, Strings{second});
    EXPECT_EQ(ListView2.Texts(), Strings{"twee"});
    EXPECT_EQ(Label3.caption, "twee");
    EXPECT_EQ(Label5.caption, "Totaal : 00:00:02");
    EXPECT_TRUE(main.state.Playing);
    EXPECT_TRUE(PlayTimer.enabled);
    WaitForEnd();
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_LT(heard[0].frames, FramesOf(10.0) - 10);
    EXPECT_NEAR(heard[1].hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), FramesOf(2.0), 10.0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealMainTest, NextOnTheLastSongStopsTheSoundAndShowsTheMessage) {
    Queue("een", CachedTone(10.0, 440));
    main.Knop_Click(kPlay);
    WaitForPosition(1.0);
    main.Knop_Click(kNext);
    EXPECT_EQ(messages.shown, Strings{"Playlist vullen a.u.b. "});
    EXPECT_TRUE(List1.items.empty());
    EXPECT_EQ(ListView2.RowCount(), 0);
    EXPECT_EQ(Label3.caption, "een");
    EXPECT_FALSE(main.state.Playing);
    EXPECT_FALSE(PlayTimer.enabled);
    const double stoppedAt = Position();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Position(), stoppedAt);
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), stoppedAt * 44100, 10.0);
}

TEST_F(RealMainTest, UnloadStopsTheSoundAndReleasesTheEngine) {
    Queue("twintig", CachedTone(20.0, 440));
    main.Knop_Click(kPlay);
    WaitForPosition(1.0);
    main.ExitKnop_Click();
    EXPECT_EQ(form.unloads, 1);
    main.Form_Unload();
    EXPECT_EQ(engines.Alive(), 0);
    EXPECT_FALSE(main.state.Playing);
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_GE(heard[0].frames, FramesOf(1.0) - 10);
    EXPECT_LT(heard[0].frames, FramesOf(20.0) - 10);
}

}  // namespace
}  // namespace tunekist::test
