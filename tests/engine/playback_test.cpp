// Playing through SDL's disk driver: the position follows the sound handed to the device, lands
// exactly on a new position, and ends exactly at the duration.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/support/sound_capture.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

IMediaControl RenderedEngine(const std::string& path) {
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    return engine;
}

// Rendering and settings need no device: the song list measures every file with an engine of
// its own and never opens one.
TEST(Playback, WithoutAudioDeviceRenderAndSettingsWorkAndRunFailsClearly) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IMediaControl engine = RenderedEngine(test::CachedTone(1.0, 440));
    engine->put_CurrentPosition(0.25);
    engine->put_Volume(-500);
    EXPECT_EQ(engine->get_CurrentPosition(), 0.25);
    try {
        engine->Run();
        ADD_FAILURE() << "Run succeeded without a device";
    } catch (const EngineError& error) {
        EXPECT_STREQ(error.what(), "Geen geluidsapparaat beschikbaar");
    }
    EXPECT_EQ(engine->GetState(0), StateStopped);
}

TEST(Playback, SeekLandsOnTheSampleAndPositionsAndLevelsOutOfRangeFail) {
    const std::string capture = test::CaptureNextDevice("seek");
    IMediaControl engine = RenderedEngine(test::CachedTone(3.0, 440));
    engine->Run();
    engine->Pause();
    engine->put_CurrentPosition(1.0 + 0.6 / 44100);  // the nearest sample frame
    EXPECT_EQ(engine->get_CurrentPosition(), 44101.0 / 44100);
    engine->put_CurrentPosition(2.5);
    EXPECT_EQ(engine->get_CurrentPosition(), 2.5);
    EXPECT_THROW(engine->put_CurrentPosition(-0.001), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(3.001), EngineError);
    EXPECT_THROW(engine->put_CurrentPosition(std::nan("")), EngineError);
    EXPECT_THROW(engine->put_Volume(1), EngineError);
    EXPECT_THROW(engine->put_Volume(-10001), EngineError);
    EXPECT_EQ(engine->get_CurrentPosition(), 2.5);
    engine->put_Volume(0);
    engine->put_Volume(-10000);
    engine->put_CurrentPosition(3.0);
    EXPECT_EQ(engine->get_CurrentPosition(), 3.0);
    engine->put_CurrentPosition(0.0);
    engine->Run();
    ASSERT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == 3.0; }));
    engine.reset();
    std::filesystem::remove(capture);
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
