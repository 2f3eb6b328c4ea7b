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
#include "platform/engine/sample_ring.h"
#include "platform/engine/sdl_audio_output.h"
#include "tests/support/sound_capture.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using Samples = std::vector<Sample>;

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
    const Samples heard = test::Sounding(test::ReadCaptureFile(capture, 0, static_cast<std::int64_t>(end)));
    std::filesystem::remove(capture);

    Samples whole(test::FramesOf(3.0) * 2);
    ASSERT_EQ(Mpg123Decoder(song).Read(whole), test::FramesOf(3.0));
    Samples expected = test::Sounding(std::span(whole).first(paused * 2));
    // -2000 is 20 dB down: a tenth of the amplitude, each sample times 3277 / 32768 rounded half up.
    const std::span<Sample> rest = std::span(whole).subspan(11026 * 2);
    for (Sample& sample : rest) sample = static_cast<Sample>(std::floor(sample * 3277 / 32768.0 + 0.5));
    std::ranges::copy(test::Sounding(rest), std::back_inserter(expected));
    EXPECT_TRUE(heard == expected) << "same up to " << std::ranges::mismatch(heard, expected).in1 - heard.begin();
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
