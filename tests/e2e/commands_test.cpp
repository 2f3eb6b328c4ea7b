// The command buttons' procedures through the shipped engine: what is heard after Play, Pauze,
// Rew, Forew, Stop, Next and Exit, measured in the sound the audio device received.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "playback/progress_bar.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

using Strings = std::vector<std::string>;

struct Tone {
    const char* name;
    double hz;
    double amplitude;
};

void PrintTo(const Tone& tone, std::ostream* out) { *out << tone.name; }

class PlayIsHeard : public PlayerWindowTest, public ::testing::WithParamInterface<Tone> {};

TEST_P(PlayIsHeard, AtTheSongsPitchLevelAndLength) {
    const Tone& tone = GetParam();
    const std::string song = CachedTone(1.0, tone.hz, {.amplitude = tone.amplitude});
    Queue(tone.name, song);
    Press(kPlay);
    EXPECT_EQ(Text(window->Label3), tone.name);
    EXPECT_TRUE(program().state.Playing);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].hz, tone.hz, 2.0);
    EXPECT_NEAR(heard[0].rmsDb, DecodedRmsDb(song), 0.05);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(1.0), 10.0);
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Tones, PlayIsHeard,
                         ::testing::Values(Tone{"A440", 440, 0.5}, Tone{"A880Soft", 880, 0.25},
                                           Tone{"Low220Loud", 220, 0.9}),
                         [](const auto& info) { return std::string(info.param.name); });

// Paused, the song holds its time and bar; the ticks show the position rounded half to even and
// the bar at its percentage. Pauze and then Play resume it in the same engine.
TEST_F(PlayerWindowTest, PauzeHoldsTheSongAndPauzeOrPlayResumesWhereItPaused) {
    Queue("tien", CachedTone(10.0, 440));
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StatePaused);
    EXPECT_TRUE(program().state.Playing);
    const double paused = Position();
    Tick();
    const std::string shown = Text(window->TijdLabel);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Tick();
    EXPECT_EQ(Position(), paused);
    EXPECT_EQ(Text(window->TijdLabel), shown);
    for (const auto& [at, time, bar] : {std::tuple{2.5, "00:02", "25%"}, {3.5, "00:04", "35%"}, {5.0, "00:05", "50%"}}) {
        program().state.GraphPosition->put_CurrentPosition(at);
        Tick();
        EXPECT_EQ(Text(window->TijdLabel), time);
        EXPECT_EQ(Text(window->BarLabel), bar);
    }
    // A seek from the desktop's controls is kept within the song and starts the bar afresh.
    for (const auto& [asked, reached] : {std::pair{4.5, 4.5}, {-3.0, 0.0}, {150.0, 10.0}}) {
        program().SeekTo(asked);
        EXPECT_EQ(Position(), reached) << "asked " << asked;
        EXPECT_TRUE(!BarShowsFill());
    }
    program().state.GraphPosition->put_CurrentPosition(paused);

    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    Press(kPauze);
    const MediaEngine* engine = &Engine();
    Press(kPlay);
    EXPECT_EQ(&Engine(), engine);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    ASSERT_TRUE(WaitForEnd());
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

class SkipIsHeard : public PlayerWindowTest, public ::testing::WithParamInterface<Skip> {};

// A 17 s song, paused at once, is moved to `from` and skipped with Rew or Forew, then played on
// to its end: it lands on `to`, within the song, and what is heard is the sliver before the pause
// followed by everything from `to` on.
TEST_P(SkipIsHeard, FromWhereItLands) {
    const Skip& skip = GetParam();
    Queue("zeventien", CachedTone(17.0, 440));
    Press(kPlay);
    Press(kPauze);
    const double sliver = Position();
    program().state.GraphPosition->put_CurrentPosition(skip.from);
    Tick();
    ASSERT_TRUE(BarShowsFill());
    Press(skip.command);
    EXPECT_EQ(Position(), skip.to);
    EXPECT_TRUE(!BarShowsFill()) << "the bar starts afresh";
    Press(kPauze);
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), (sliver + 17.0 - skip.to) * 44100, 10.0);
}

INSTANTIATE_TEST_SUITE_P(Positions, SkipIsHeard,
                         ::testing::Values(Skip{"RewBack", 16.5, kRew, 1.5}, Skip{"RewClampsAtStart", 10.0, kRew, 0.0},
                                           Skip{"ForewOn", 1.0, kForew, 16.0},
                                           Skip{"ForewClampsAtEnd", 6.0, kForew, 17.0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Commands on an empty queue, and before the first Play, do nothing; Pauze leaves a stopped song
// stopped; Play starts it again from its beginning in a new engine.
TEST_F(PlayerWindowTest, StopThenPlayRestartsTheSongFromItsBeginning) {
    for (std::int16_t command = kPlay; command <= kStop; ++command) Press(command);
    EXPECT_EQ(engines.Made(), 0);
    EXPECT_EQ(Text(window->Label3), "Play song");
    Queue("tien", CachedTone(10.0, 440));
    const int measuring = engines.Made();
    for (const std::int16_t command : {kPauze, kRew, kForew, kStop}) Press(command);
    program().SeekTo(5.0);
    EXPECT_EQ(engines.Made(), measuring) << "no song was started";
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Press(kStop);
    EXPECT_FALSE(program().state.Playing);
    EXPECT_FALSE(TimerRuns());
    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StateStopped);
    EXPECT_EQ(QueuedPaths().size(), 1u);
    const double stoppedAt = Position();
    const MediaEngine* stopped = &Engine();

    Press(kPlay);
    EXPECT_NE(&Engine(), stopped);
    EXPECT_TRUE(program().state.Playing);
    EXPECT_TRUE(TimerRuns());
    // Play while it plays starts it over in a new engine, the old one released.
    ASSERT_TRUE(WaitForPosition(1.0));
    const MediaEngine* running = &Engine();
    Press(kPlay);
    EXPECT_NE(&Engine(), running);
    EXPECT_EQ(engines.Alive(), 1);
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), stoppedAt * 44100, 10.0);
    EXPECT_GE(heard[1].frames, FramesOf(1.0) - 10);
    EXPECT_LT(heard[1].frames, FramesOf(10.0) - 10);
    EXPECT_NEAR(static_cast<double>(heard[2].frames), FramesOf(10.0), 10.0);
}

TEST_F(PlayerWindowTest, NextPlaysTheNextSongAndOnTheLastStopsTheSoundWithTheMessage) {
    const std::string second = CachedTone(10.0, 880);
    Queue("een", CachedTone(10.0, 440));
    Queue("twee", second);
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Tick();
    ASSERT_TRUE(BarShowsFill());
    Press(kNext);
    EXPECT_TRUE(!BarShowsFill()) << "the next song starts with an empty bar";
    EXPECT_EQ(QueuedPaths().size(), 1u);
    EXPECT_EQ(QueuedNames(), Strings{"twee"});
    EXPECT_EQ(Text(window->Label3), "twee");
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:10");
    EXPECT_TRUE(program().state.Playing);
    EXPECT_TRUE(TimerRuns());
    EXPECT_TRUE(messages.empty());

    ASSERT_TRUE(WaitForPosition(1.0));
    Press(kNext);
    EXPECT_EQ(messages, Strings{kFillPlaylist});
    EXPECT_TRUE(QueuedPaths().empty());
    EXPECT_TRUE(QueuedNames().empty());
    EXPECT_EQ(Text(window->Label3), "twee");
    EXPECT_FALSE(program().state.Playing);
    EXPECT_FALSE(TimerRuns());
    const double stoppedAt = Position();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Position(), stoppedAt);
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_LT(heard[0].frames, FramesOf(10.0) - 10);
    EXPECT_NEAR(heard[1].hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), stoppedAt * 44100, 10.0);
}

TEST_F(PlayerWindowTest, ExitWhilePlayingStopsTheSoundAndReleasesTheEngine) {
    Queue("twintig", CachedTone(20.0, 440));
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Press(kExit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(engines.Alive(), 0);
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_GE(heard[0].frames, FramesOf(1.0) - 10);
    EXPECT_LT(heard[0].frames, FramesOf(20.0) - 10);
}

}  // namespace
}  // namespace tunekist::test
