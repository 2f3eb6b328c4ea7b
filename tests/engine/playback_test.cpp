// Playing through SDL's disk driver: the position counts exactly the frames handed to the device,
// a seek lands on the nearest sample frame and plays on from there as a full decode has it, the
// volume scales what is heard, and the song ends exactly at its duration. Below that, the volume
// is a Q15 factor rounding halves up, and the ring keeps the samples' order across its end.
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
    // Rendering and settings need no device: the song list measures every file with an engine of
    // its own and never opens one.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string song = test::CachedTone(3.0, 440);
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(song);
    for (const double at : {-0.001, 3.001, std::nan("")}) EXPECT_THROW(engine->put_CurrentPosition(at), EngineError);
    EXPECT_THROW(engine->put_Volume(1), EngineError);
    EXPECT_THROW(engine->put_Volume(-10001), EngineError);
    engine->put_Volume(-10000);
    engine->put_Volume(0);
    engine->put_CurrentPosition(3.0);
    EXPECT_EQ(engine->get_CurrentPosition(), 3.0);
    engine->put_CurrentPosition(0.0);
    try {
        engine->Run();
        ADD_FAILURE() << "Run succeeded without a device";
    } catch (const EngineError& error) {
        EXPECT_STREQ(error.what(), "Geen geluidsapparaat beschikbaar");
    }
    EXPECT_EQ(engine->GetState(0), StateStopped);

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
    const std::uintmax_t end =
        std::filesystem::file_size(capture) + 2 * SdlAudioOutput::kDeviceFrames * 2 * sizeof(Sample);
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

// Decoding from sample f yields what a whole decode has there. After a jump the synthesis filter's
// history is rebuilt and may differ in its last bits, which can round a 16-bit sample the other
// way, so samples are compared to one step; one sample off would differ by far more (a 440 Hz
// sine moves up to some 5,600 steps per sample at 8 kHz).
TEST(Decoder, SeekMatchesAFullDecodeFromThatSample) {
    constexpr test::ToneOptions kVbr{.vbr = true};
    constexpr test::ToneOptions kLowRate{.sampleRate = 8000, .channels = 1, .vbr = true, .vbrQuality = 9};
    const std::pair<test::ToneOptions, std::size_t> seeks[] = {{kVbr, 575},    {kVbr, 44100}, {kVbr, 100001},
                                                               {kVbr, 130000}, {kLowRate, 1}, {kLowRate, 21000}};
    for (const auto& [options, frame] : seeks) {
        SCOPED_TRACE(testing::Message() << options.sampleRate << " Hz, frame " << frame);
        const std::string path = test::CachedTone(3.0, 440, options);
        const auto total = static_cast<std::size_t>(3 * options.sampleRate);
        Samples reference(total * 2);
        ASSERT_EQ(Mpg123Decoder(path).Read(reference), total);
        Mpg123Decoder seeking(path);
        seeking.Seek(static_cast<std::int64_t>(frame));
        Samples part(4096 * 2);
        const std::size_t frames = seeking.Read(part);
        ASSERT_EQ(frames, std::min<std::size_t>(4096, total - frame));
        for (std::size_t i = 0; i < frames * 2; ++i) ASSERT_NEAR(part[i], reference[frame * 2 + i], 1) << i;
    }
}

TEST(SampleGain, ScalesEverySampleRoundingHalvesUp) {
    const std::tuple<const char*, std::int32_t, Samples, Samples> rows[] = {
        {"full", kUnityGain, {-32768, -1, 0, 1, 12345, 32767}, {-32768, -1, 0, 1, 12345, 32767}},
        // Halves: -1.5 -> -1, -0.5 -> 0, 0.5 -> 1, 1.5 -> 2, 16383.5 -> 16384.
        {"half", 16384, {-32768, -3, -1, 0, 1, 3, 32767}, {-16384, -1, 0, 0, 1, 2, 16384}},
        {"a tenth", GainToQ15(0.1f), {32767, -32768, 10000}, {3277, -3277, 1000}},
        {"above one", GainToQ15(1.5f), {-32768, 32767}, {-32768, 32767}},
        {"silence", GainToQ15(0.0f), {-32768, -7, 7, 32767}, {0, 0, 0, 0}},
    };
    for (auto [name, q15, samples, scaled] : rows) {
        ApplyGain(samples, q15);
        EXPECT_EQ(samples, scaled) << name;
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
