// The command buttons, the volume slider and the play timer through the shipped engine: what is
// heard after Play, Pauze, Rew, Forew, Stop and Next, measured in the sound the audio device
// received, and the level each slider setting gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <regex>
#include <tuple>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/shared_audio_output.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

struct Tone {
    const char* name;
    double hz;
    double amplitude;
    std::int32_t slider;
    const char* sliderText;
    double decibels;   // heard against the file's own level
    bool whilePaused;  // the slider moved while the song is paused at its start, else before it
};

void PrintTo(const Tone& tone, std::ostream* out) { *out << tone.name; }

class PlayIsHeard : public PlayerWindowTest, public ::testing::WithParamInterface<Tone> {};

// Moved before the first song, only the slider's text changes and the song then starts at its
// level; moved while a song is paused, the rest of that song is heard at the new level. The song
// paused at once starts at the bottom of the slider, 40 dB down, so that whatever the device took
// between Play and Pauze (more on a loaded machine) adds frames but next to no energy: the level
// is the energy heard spread over the song's own length.
TEST_P(PlayIsHeard, AtTheSongsPitchAndLengthAndTheSlidersLevel) {
    const Tone& tone = GetParam();
    const std::string song = CachedTone(2.0, tone.hz, {.amplitude = tone.amplitude});
    if (tone.whilePaused) {
        window->VolSlider->setValue(20);
        Queue(tone.name, song);
        Press(kPlay);
        Press(kPauze);
    }
    // From the step beside it, so that the slider moves even to where it starts.
    window->VolSlider->setValue(tone.slider + 1);
    window->VolSlider->setValue(tone.slider);
    EXPECT_EQ(program().Controls().VolSlider.Text(), tone.sliderText);
    if (tone.whilePaused) {
        program().state.GraphPosition->put_CurrentPosition(0.0);
        Press(kPauze);
    } else {
        EXPECT_EQ(engines.Made(), 0);
        Queue(tone.name, song);
        Press(kPlay);
    }
    ASSERT_TRUE(WaitForEnd());
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].hz, tone.hz, 2.0);
    const double spread = 10 * std::log10(heard[0].frames / static_cast<double>(FramesOf(2.0)));
    EXPECT_NEAR(heard[0].rmsDb + spread - DecodedRmsDb(song), tone.decibels, tone.whilePaused ? 0.2 : 0.05);
    if (!tone.whilePaused) {
        EXPECT_NEAR(static_cast<double>(heard[0].frames), FramesOf(2.0), 10.0);
    }
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Tones, PlayIsHeard,
                         ::testing::Values(Tone{"A880SoftAt75", 880, 0.25, 5, "Volume 75%", -10.0, false},
                                           Tone{"Low220LoudAt50", 220, 0.9, 10, "Volume 50%", -20.0, false},
                                           Tone{"A440At0", 440, 0.5, 20, "Volume 0%", -40.0, false},
                                           Tone{"A440At50WhilePaused", 440, 0.5, 10, "Volume 50%", -20.0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Commands on an empty queue, and before the first Play, do nothing. Paused, the song holds its
// time and bar; the ticks show the position rounded half to even and the bar at its percentage.
// Rew and Forew move 15 s within the song and start the bar afresh. Pauze and then Play resume it
// in the same engine. After Stop, Pauze leaves it stopped; Play starts it from its beginning in a
// new engine, and so does Play while it plays, the old engine released.
TEST_F(PlayerWindowTest, PauzeHoldsTheSongRewAndForewMoveItStopAndPlayStartItOver) {
    for (std::int16_t command = kPlay; command <= kStop; ++command) Press(command);
    EXPECT_EQ(engines.Made(), 0);
    EXPECT_EQ(Text(window->Label3), "Play song");
    Queue("twintig", CachedTone(20.0, 440));
    const int measuring = engines.Made();
    for (const std::int16_t command : {kPauze, kRew, kForew, kStop}) Press(command);
    program().SeekTo(5.0);
    EXPECT_EQ(engines.Made(), measuring) << "no song was started";
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StatePaused);
    EXPECT_TRUE(program().state.Playing);
    const double paused = Position();
    Tick();
    const std::string shown = Text(window->TijdLabel);
    ASSERT_TRUE(engines.DevicePlayedOn());
    Tick();
    EXPECT_EQ(Position(), paused);
    EXPECT_EQ(Text(window->TijdLabel), shown);
    for (const auto& [at, time, bar] :
         {std::tuple{2.5, "00:02", "12%"}, {3.5, "00:04", "17%"}, {5.0, "00:05", "25%"}}) {
        program().state.GraphPosition->put_CurrentPosition(at);
        Tick();
        EXPECT_EQ(Text(window->TijdLabel), time);
        EXPECT_EQ(Text(window->BarLabel), bar);
    }
    for (const auto& [from, command, to] :
         {std::tuple{19.5, kRew, 4.5}, {10.0, kRew, 0.0}, {1.0, kForew, 16.0}, {6.0, kForew, 20.0}}) {
        program().state.GraphPosition->put_CurrentPosition(from);
        Tick();
        ASSERT_TRUE(BarShowsFill());
        Press(command);
        EXPECT_EQ(Position(), to) << "from " << from;
        EXPECT_TRUE(!BarShowsFill()) << "the bar starts afresh";
    }
    program().state.GraphPosition->put_CurrentPosition(paused);

    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    Press(kPauze);
    const MediaEngine* engine = &Engine();
    Press(kPlay);
    EXPECT_EQ(&Engine(), engine);
    EXPECT_EQ(Engine().GetState(0), StateRunning);
    ASSERT_TRUE(WaitForPosition(paused + 1.0));
    Press(kStop);
    EXPECT_FALSE(program().state.Playing);
    EXPECT_FALSE(TimerRuns());
    Press(kPauze);
    EXPECT_EQ(Engine().GetState(0), StateStopped);
    const double stoppedAt = Position();
    Press(kPlay);
    EXPECT_NE(&Engine(), engine);
    EXPECT_TRUE(program().state.Playing);
    EXPECT_TRUE(TimerRuns());
    ASSERT_TRUE(WaitForPosition(1.0));
    const MediaEngine* running = &Engine();
    Press(kPlay);
    EXPECT_NE(&Engine(), running);
    EXPECT_EQ(engines.Alive(), 1);
    ASSERT_TRUE(WaitForPosition(1.0));
    // Nothing skipped and nothing heard twice: each start is heard up to where it was left.
    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_NEAR(static_cast<double>(heard[0].frames), stoppedAt * 44100, 10.0);
    EXPECT_NEAR(heard[0].hz, 440.0, 2.0);
    EXPECT_GE(heard[1].frames, FramesOf(1.0) - 10);
    EXPECT_LT(heard[1].frames, FramesOf(20.0) - 10);
    EXPECT_GE(heard[2].frames, FramesOf(1.0) - 10);
    EXPECT_TRUE(messages.empty());
}

// Next moves on to the next song, which starts with an empty bar; from there the once-a-second
// tick plays the queue through to its end, each song giving way at the first tick after it ends,
// and the end of the queue is told once.
TEST_F(PlayerWindowTest, NextAndThenTheTicksPlayTheQueueToItsEnd) {
    Queue("tien", CachedTone(10.0, 660));
    Queue("drie", CachedTone(3.0, 440));
    Queue("vier", CachedTone(4.0, 880));
    Press(kPlay);
    ASSERT_TRUE(WaitForPosition(1.0));
    Tick();
    ASSERT_TRUE(BarShowsFill());
    Press(kNext);
    EXPECT_TRUE(!BarShowsFill()) << "the next song starts with an empty bar";
    EXPECT_EQ(QueuedNames(), (Strings{"drie", "vier"}));
    EXPECT_EQ(Text(window->Label3), "drie");
    EXPECT_EQ(Text(window->Label5), "Totaal : 00:00:07");
    EXPECT_TRUE(messages.empty());
    const std::vector<TickSeen> ticks = TickUntilTheTimerStops();

    // Ticks come a second of sound apart, each one a letter: "m" moved on to the next song, "s"
    // stopped at the end of the queue, "e" found its song ended but left it there. Each song is
    // ticked while it plays, and the time label follows it; the tick that moves on shows the
    // next song from its start, not the end of the last one.
    std::string seen;
    for (const TickSeen& tick : ticks) {
        seen += !tick.playingAfter ? 's' : tick.engineAfter != tick.engineBefore ? 'm' : tick.endedBefore ? 'e' : '.';
    }
    ASSERT_TRUE(std::regex_match(seen, std::regex(R"(\.+m\.+s)"))) << seen;
    const std::size_t next = seen.find('m');
    EXPECT_TRUE(ticks[next].time == "00:00" || ticks[next].time == "00:01") << ticks[next].time;
    for (std::size_t i = 1; i + 1 < ticks.size(); ++i) {
        EXPECT_TRUE(i == next || ticks[i - 1].time <= ticks[i].time) << "tick " << i << ": " << ticks[i].time;
    }
    EXPECT_EQ(messages, Strings{kFillPlaylist});
    EXPECT_FALSE(TimerRuns());
    EXPECT_TRUE(QueuedNames().empty());
    EXPECT_EQ(Text(window->Label3), "vier");

    // The timer is off; a tick that came anyway would find nothing playing.
    window->Handle([&] { program().PlayTimer_Timer(); });
    EXPECT_EQ(messages.size(), 1u);

    const std::vector<Heard> heard = HeardAfterClosing();
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_NEAR(heard[0].hz, 660.0, 2.0);
    EXPECT_LT(heard[0].frames, FramesOf(10.0) - 10);
    EXPECT_NEAR(heard[1].hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[1].frames), FramesOf(3.0), 10.0);
    EXPECT_NEAR(heard[2].hz, 880.0, 2.0);
    EXPECT_NEAR(static_cast<double>(heard[2].frames), FramesOf(4.0), 10.0);
}

// Songs at 44.1, 48, 22.05 and 8 kHz follow one another, each on a device at its own rate: the
// device receives every sample of each song, in queue order, and nothing else but silence.
TEST_F(PlayerWindowTest, SongsAtOtherSampleRatesPlayExactlyInTurn) {
    std::vector<std::int16_t> expected;
    // Bit rates each rate takes as it is (lame resamples below them).
    for (const auto& [rate, kbps] : {std::pair{44100, 128}, {48000, 128}, {22050, 64}, {8000, 32}}) {
        const std::string song = CachedTone(0.5, 440, {.sampleRate = rate, .bitrateKbps = kbps});
        Queue(std::to_string(rate), song);
        std::vector<Sample> decoded(static_cast<std::size_t>(rate) * 2);
        decoded.resize(Mpg123Decoder(song).Read(decoded) * 2);
        expected.insert(expected.end(), decoded.begin(), decoded.end());
    }
    Press(kPlay);
    for (const int rate : {44100, 48000, 22050, 8000}) {
        EXPECT_EQ(std::ranges::count(SharedAudioOutput::Instance().OpenRates(), rate), 1) << "a device at " << rate;
        ASSERT_TRUE(WaitForEnd());
        Tick();
    }
    EXPECT_EQ(messages, Strings{kFillPlaylist});
    // Played out, the program keeps no sound device open, so the sound server may suspend.
    EXPECT_TRUE(Eventually([] { return SharedAudioOutput::Instance().OpenDevices() == 0; }));
    window->close();
    std::vector<std::int16_t> heard;
    for (const auto& played : engines.Played()) std::ranges::copy(Sounding(played), std::back_inserter(heard));
    EXPECT_TRUE(heard == Sounding(expected));
}

}  // namespace
}  // namespace tunekist::test
