// Playing through SDL's disk driver: the position follows the sound handed to the device, stands
// still while paused, lands exactly on a new position, and ends exactly at the duration.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/engine/disk_output.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

IMediaControl RenderedEngine(const std::string& path) {
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    return engine;
}

TEST(Playback, RenderFileOpensNoDeviceAndPositionWaitsForRun) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IMediaControl engine = RenderedEngine(test::CachedTone(1.0, 440));
    engine->put_CurrentPosition(0.25);
    engine->put_Volume(-500);
    EXPECT_EQ(engine->get_CurrentPosition(), 0.25);
    EXPECT_EQ(engine->GetState(0), StateStopped);
}

TEST(Playback, RunWithoutAudioDeviceFailsClearly) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IMediaControl engine = RenderedEngine(test::CachedTone(1.0, 440));
    try {
        engine->Run();
        ADD_FAILURE() << "Run succeeded without a device";
    } catch (const EngineError& error) {
        EXPECT_STREQ(error.what(), "Geen geluidsapparaat beschikbaar");
    }
    EXPECT_EQ(engine->GetState(0), StateStopped);
}

TEST(Playback, PositionReachesExactlyTheDurationAndEngineStaysRunning) {
    const std::string capture = test::CaptureNextDevice("end");
    IMediaControl engine = RenderedEngine(test::CachedTone(1.5, 440));
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == 1.5; }));
    EXPECT_EQ(engine->GetState(0), StateRunning);
    EXPECT_EQ(engine->get_CurrentPosition(), 1.5);
    engine.reset();
    test::ReadCapture(capture);
}

TEST(Playback, PausedPositionStandsStillAndRunResumesThere) {
    const std::string capture = test::CaptureNextDevice("pause");
    IMediaControl engine = RenderedEngine(test::CachedTone(4.0, 440));
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() > 0.5; }));
    engine->Pause();
    EXPECT_EQ(engine->GetState(0), StatePaused);
    const double paused = engine->get_CurrentPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(engine->get_CurrentPosition(), paused);
    EXPECT_LT(paused, 4.0);
    engine->Stop();
    EXPECT_EQ(engine->GetState(0), StateStopped);
    EXPECT_EQ(engine->get_CurrentPosition(), paused);
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == 4.0; }));
    engine.reset();
    test::ReadCapture(capture);
}

TEST(Playback, SeekLandsOnTheSampleAndRejectsOutOfRange) {
    const std::string capture = test::CaptureNextDevice("seek");
    IMediaControl engine = RenderedEngine(test::CachedTone(3.0, 440));
    engine->Run();
    engine->Pause();
    engine->put_CurrentPosition(2.5);
    EXPECT_EQ(engine->get_CurrentPosition(), 2.5);
    EXPECT_THROW(engine->put_CurrentPosition(-0.001), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(3.001), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(std::nan("")), EngineError);
    EXPECT_EQ(engine->get_CurrentPosition(), 2.5);
    engine->put_CurrentPosition(3.0);
    EXPECT_EQ(engine->get_CurrentPosition(), 3.0);
    engine->put_CurrentPosition(0.0);
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == 3.0; }));
    engine.reset();
    test::ReadCapture(capture);
}

TEST(Playback, TwoEnginesPlayAtOnce) {
    const std::string capture = test::CaptureNextDevice("two");
    IMediaControl first = RenderedEngine(test::CachedTone(1.0, 440));
    IMediaControl second = RenderedEngine(test::CachedTone(1.5, 440));
    first->Run();
    second->Run();
    ASSERT_TRUE(test::Eventually([&] {
        return first->get_CurrentPosition() == 1.0 && second->get_CurrentPosition() == 1.5;
    }));
    first.reset();
    second.reset();
    test::ReadCapture(capture);
}

// The disk driver gives up on its device when a write fails, as a real device does when it is
// unplugged; /dev/full fails every write.
TEST(Playback, LostDeviceMakesStateAndPositionFail) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    IMediaControl engine = RenderedEngine(test::CachedTone(2.0, 440));
    engine->Run();
    const bool lost = test::Eventually([&] {
        try {
            engine->GetState(0);
            return false;
        } catch (const EngineError& error) {
            return std::string(error.what()) == "Geluidsapparaat weggevallen";
        }
    });
    EXPECT_TRUE(lost);
    EXPECT_THROW(engine->get_CurrentPosition(), EngineError);
    engine->Pause();
    EXPECT_EQ(engine->GetState(0), StatePaused);
}

// A seek is sample-accurate: decoding from sample f yields what a whole decode has there. After a
// jump the synthesis filter's history is rebuilt and may differ in its last bits, which can round
// a 16-bit sample the other way, so samples are compared to one step; one sample off would differ
// by far more (a 440 Hz sine moves up to some 5,600 steps per sample at 8 kHz).
struct SeekCase {
    const char* name;
    test::ToneOptions options;
    std::int64_t frame;
};

void PrintTo(const SeekCase& seek, std::ostream* out) { *out << seek.name; }

class DecoderSeek : public ::testing::TestWithParam<SeekCase> {};

TEST_P(DecoderSeek, MatchesFullDecodeFromThatSample) {
    const SeekCase& seek = GetParam();
    const std::string path = test::CachedTone(3.0, 440, seek.options);
    const auto total = static_cast<std::size_t>(3 * seek.options.sampleRate);
    Mpg123Decoder whole(path);
    std::vector<Sample> reference(total * 2);
    ASSERT_EQ(whole.Read(reference), total);
    Mpg123Decoder seeking(path);
    seeking.Seek(seek.frame);
    std::vector<Sample> part(4096 * 2);
    const std::size_t frames = seeking.Read(part);
    ASSERT_EQ(frames, std::min<std::size_t>(4096, total - static_cast<std::size_t>(seek.frame)));
    for (std::size_t i = 0; i < frames * 2; ++i) {
        ASSERT_NEAR(part[i], reference[static_cast<std::size_t>(seek.frame) * 2 + i], 1)
            << "sample " << i;
    }
}

constexpr test::ToneOptions kLowRate{.sampleRate = 8000, .channels = 1, .vbr = true, .vbrQuality = 9};
constexpr test::ToneOptions kVbr{.vbr = true};

INSTANTIATE_TEST_SUITE_P(
    Frames, DecoderSeek,
    ::testing::Values(SeekCase{"VbrStart", kVbr, 0}, SeekCase{"VbrOne", kVbr, 1},
                      SeekCase{"VbrHalfFrame", kVbr, 575}, SeekCase{"VbrFrame", kVbr, 1152},
                      SeekCase{"VbrOneSecond", kVbr, 44100}, SeekCase{"VbrOdd", kVbr, 100001},
                      SeekCase{"VbrNearEnd", kVbr, 130000}, SeekCase{"LowRateOne", kLowRate, 1},
                      SeekCase{"LowRateOdd", kLowRate, 7777}, SeekCase{"LowRateLate", kLowRate, 21000}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
