// Through SDL's disk driver the position counts exactly the frames handed to the device, a seek
// in a VBR song lands on the nearest frame and plays on exactly as a full decode has it, and the
// volume scales what is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/sample_gain.h"
#include "platform/engine/sample_ring.h"
#include "platform/engine/sdl_audio_output.h"
#include "tests/support/sound_capture.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using Samples = std::vector<Sample>;

// The stereo frames of `samples` but those of exact silence, which the device plays whenever it
// is fed late or nothing plays.
Samples Sounding(std::span<const Sample> samples) {
    Samples sounding;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] != 0 || samples[i + 1] != 0) sounding.insert(sounding.end(), {samples[i], samples[i + 1]});
    }
    return sounding;
}

TEST(Playback, HeardIsWhatThePositionSaysFromTheNearestFrameAtTheLevelSet) {
    // Rendering and settings need no device: the song list measures with engines that never open one.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string song = test::CachedTone(3.0, 440, {.vbr = true});
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(song);
    for (const double at : {-0.001, 3.001, std::nan("")}) EXPECT_THROW(engine->put_CurrentPosition(at), EngineError);
    for (const int level : {1, -10001}) EXPECT_THROW(engine->put_Volume(level), EngineError);
    for (const int level : {-10000, 0}) engine->put_Volume(level);
    engine->put_CurrentPosition(3.0);
    EXPECT_EQ(engine->get_CurrentPosition(), 3.0);
    engine->put_CurrentPosition(0.0);

    const std::string capture = test::CaptureNextDevice("seek");
    setenv("SDL_DISKAUDIODELAY", "1", 1);  // silence while paused, at most a period a millisecond
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() > 0.0; }));
    engine->Pause();
    const auto paused = static_cast<std::size_t>(std::llround(engine->get_CurrentPosition() * 44100));
    // The nearest frame, and one from which libmpg123 decodes exactly what a whole decode yields.
    engine->put_CurrentPosition(0.25 + 0.6 / 44100);
    EXPECT_EQ(engine->get_CurrentPosition(), 11026.0 / 44100);
    engine->put_Volume(-2000);
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == 3.0; }));
    // The last period played is on the file once two more have followed it; the device goes on
    // writing silence, so the capture is read up to there, not chased.
    const auto end = std::filesystem::file_size(capture) + 2 * SdlAudioOutput::kDeviceFrames * 2 * sizeof(Sample);
    ASSERT_TRUE(test::Eventually([&] { return std::filesystem::file_size(capture) >= end; }));
    engine.reset();
    Samples captured;
    for (const float sample : test::ReadCaptureFile(capture, 0, static_cast<std::int64_t>(end))) {
        captured.push_back(static_cast<Sample>(sample * 32768));
    }
    std::filesystem::remove(capture);

    Samples whole(test::FramesOf(3.0) * 2);
    ASSERT_EQ(Mpg123Decoder(song).Read(whole), test::FramesOf(3.0));
    Samples expected = Sounding(std::span(whole).first(paused * 2));
    const std::span<Sample> rest = std::span(whole).subspan(11026 * 2);
    ApplyGain(rest, GainToQ15(0.1f));  // -2000 is 20 dB down: a tenth of the amplitude
    std::ranges::copy(Sounding(rest), std::back_inserter(expected));
    const Samples heard = Sounding(captured);
    EXPECT_TRUE(heard == expected) << "same up to " << std::ranges::mismatch(heard, expected).in1 - heard.begin();
}

TEST(SampleGain, ScalesEverySampleRoundingHalvesUp) {
    const struct {
        float gain;
        Samples samples, scaled;
    } rows[] = {
        // Halves: -1.5 -> -1, -0.5 -> 0, 0.5 -> 1, 1.5 -> 2, 16383.5 -> 16384.
        {0.5f, {-32768, -3, -1, 0, 1, 3, 32767}, {-16384, -1, 0, 0, 1, 2, 16384}},
        {1.5f, {-32768, -1, 0, 12345, 32767}, {-32768, -1, 0, 12345, 32767}},  // no more than unity
        {0.0f, {-32768, -7, 7, 32767}, {0, 0, 0, 0}},
    };
    for (auto [gain, samples, scaled] : rows) {
        ApplyGain(samples, GainToQ15(gain));
        EXPECT_EQ(samples, scaled) << gain;
    }
}

TEST(SampleRing, KeepsTheOrderAcrossTheBufferEnd) {
    SampleRing ring(8);
    Samples out(8);
    ASSERT_EQ(ring.Push(Samples{1, 2, 3, 4, 5, 6}), 6u);
    ASSERT_EQ(ring.Pop(out), 6u);
    // Free are all 8, but only the last 2 follow each other in memory.
    EXPECT_EQ(ring.Room().size(), 2u);
    ASSERT_EQ(ring.Push(Samples{7, 8, 9, 10, 11}), 5u);
    const std::span<Sample> room = ring.Room();
    ASSERT_EQ(room.size(), 3u);
    room[0] = 12;
    room[1] = 13;
    ring.Commit(2);
    EXPECT_EQ(ring.Push(Samples{14, 15, 16}), 1u);
    ASSERT_EQ(ring.Pop(out), 8u);
    EXPECT_EQ(out, (Samples{7, 8, 9, 10, 11, 12, 13, 14}));
}

}  // namespace
}  // namespace tunekist
