// The level heard: a 440 Hz tone played at -2000 comes out exactly 20 dB below the same tone at 0.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/engine/disk_output.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

struct Heard {
    double rmsDb = 0;
    double hz = 0;
    std::size_t frames = 0;
};

// Plays the whole file at `level` and analyses the sound that reached the device. A device fed
// faster than the decoder inserts exact silence between blocks; dropping exact zeros gives back
// the played stream.
Heard PlayAt(const std::string& song, std::int32_t level) {
    const std::string capture = test::CaptureNextDevice("volume" + std::to_string(-level));
    {
        IMediaControl engine = MakeRealEngineFactory()();
        engine->RenderFile(song);
        engine->put_Volume(level);
        engine->Run();
        const double duration = engine->get_Duration();
        EXPECT_TRUE(test::Eventually([&] { return engine->get_CurrentPosition() == duration; }));
    }
    const std::vector<float> left = test::PlayedLeftChannel(test::ReadCapture(capture));
    double energy = 0;
    std::size_t crossings = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        energy += static_cast<double>(left[i]) * left[i];
        if (i > 0 && left[i - 1] < 0.0f && left[i] >= 0.0f) ++crossings;
    }
    Heard heard;
    heard.frames = left.size();
    heard.rmsDb = 10.0 * std::log10(energy / static_cast<double>(left.size()));
    heard.hz = static_cast<double>(crossings) * 44100.0 / static_cast<double>(left.size());
    return heard;
}

double DecodedRmsDb(const std::string& song) {
    Mpg123Decoder decoder(song);
    std::vector<Sample> decoded(200000 * 2);
    const std::size_t frames = decoder.Read(decoded);
    const std::vector<float> samples = test::ToUnitScale(decoded);
    double energy = 0;
    for (std::size_t i = 0; i < frames; ++i) energy += static_cast<double>(samples[2 * i]) * samples[2 * i];
    return 10.0 * std::log10(energy / static_cast<double>(frames));
}

TEST(Volume, MinusTwoThousandIsTwentyDecibelsDownAtTheSamePitchAndLength) {
    const std::string song = test::CachedTone(2.0, 440, {.amplitude = 0.5});
    const Heard full = PlayAt(song, 0);
    const Heard soft = PlayAt(song, -2000);
    EXPECT_NEAR(soft.rmsDb - full.rmsDb, -20.0, 0.2);
    // At full level the device gets the decoded samples unchanged.
    EXPECT_NEAR(full.rmsDb, DecodedRmsDb(song), 0.01);
    EXPECT_NEAR(full.hz, 440.0, 2.0);
    EXPECT_NEAR(soft.hz, 440.0, 2.0);
    EXPECT_NEAR(static_cast<double>(full.frames), 88200.0, 10.0);
    EXPECT_NEAR(static_cast<double>(soft.frames), 88200.0, 10.0);
}

TEST(Volume, LevelsOutsideTheRangeFail) {
    IMediaControl engine = MakeRealEngineFactory()();
    EXPECT_THROW(engine->put_Volume(1), EngineError);
    EXPECT_THROW(engine->put_Volume(-10001), EngineError);
    engine->put_Volume(0);
    engine->put_Volume(-10000);
}

}  // namespace
}  // namespace tunekist
