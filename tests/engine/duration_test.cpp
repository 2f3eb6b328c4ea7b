// The engine's duration is the exact number of samples playing a file yields.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/support/test_audio.h"

namespace tunekist {
namespace {

using test::ToneOptions;

double EngineDuration(const std::string& path) {
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(path);
    return engine->get_Duration();
}

// What a full decode of the file yields, in seconds.
double DecodedSeconds(const std::string& path) {
    Mpg123Decoder decoder(path);
    return static_cast<double>(decoder.DecodeLength()) / static_cast<double>(decoder.SampleRate());
}

struct ToneCase {
    const char* name;
    double seconds;
    ToneOptions options;
};

void PrintTo(const ToneCase& value, std::ostream* out) { *out << value.name; }


class ToneDuration : public ::testing::TestWithParam<ToneCase> {};

TEST_P(ToneDuration, TaggedFileLastsExactlyTheEncodedSamples) {
    const ToneCase& tone = GetParam();
    const std::string path = test::CachedTone(tone.seconds, 440, tone.options);
    const double expected =
        static_cast<double>(std::llround(tone.seconds * tone.options.sampleRate)) / tone.options.sampleRate;
    EXPECT_EQ(EngineDuration(path), expected);
    EXPECT_EQ(DecodedSeconds(path), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lame, ToneDuration,
    ::testing::Values(ToneCase{"Cbr128Stereo", 3.0, ToneOptions{}},
                      ToneCase{"Cbr64Mono22050", 2.5, ToneOptions{.sampleRate = 22050, .channels = 1, .bitrateKbps = 64}},
                      ToneCase{"VbrStereo", 3.0, ToneOptions{.vbr = true}},
                      ToneCase{"VbrMono48000", 1.7, ToneOptions{.sampleRate = 48000, .channels = 1, .vbr = true}},
                      ToneCase{"VbrStereo16000", 2.0, ToneOptions{.sampleRate = 16000, .vbr = true}}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a tag nothing tells where the encoder's delay and padding are, so all decoded samples
// are heard; the length must still be what decoding yields, not the bit rate's estimate.
class UntaggedDuration : public ::testing::TestWithParam<ToneCase> {};

TEST_P(UntaggedDuration, EqualsFullDecode) {
    const ToneCase& tone = GetParam();
    const std::string path = test::CachedTone(tone.seconds, 440, tone.options);
    const double decoded = DecodedSeconds(path);
    EXPECT_EQ(EngineDuration(path), decoded);
    EXPECT_GT(decoded, tone.seconds);
    EXPECT_LT(decoded, tone.seconds + 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    LameWithoutTag, UntaggedDuration,
    ::testing::Values(ToneCase{"VbrStereo", 4.0, ToneOptions{.vbr = true, .lameTag = false}},
                      ToneCase{"VbrBestQuality", 2.0, ToneOptions{.vbr = true, .vbrQuality = 0, .lameTag = false}},
                      ToneCase{"Cbr", 3.0, ToneOptions{.lameTag = false}}),
    [](const auto& info) { return std::string(info.param.name); });

class TruncatedDuration : public ::testing::TestWithParam<ToneOptions> {};

// The tag promises the whole song; only the frames that are there can be heard.
TEST_P(TruncatedDuration, FileCutShortOfItsTagLastsWhatItHolds) {
    const std::string whole = test::CachedTone(6.0, 440, GetParam());
    const std::string cut = testing::TempDir() + "/cut_" +
                            std::to_string(GetParam().vbr) + std::to_string(getpid()) + ".mp3";
    test::WriteTruncatedCopy(whole, cut, std::filesystem::file_size(whole) / 3);
    const double duration = EngineDuration(cut);
    EXPECT_EQ(duration, DecodedSeconds(cut));
    EXPECT_GT(duration, 1.5);
    EXPECT_LT(duration, 2.5);
    std::filesystem::remove(cut);
}

INSTANTIATE_TEST_SUITE_P(Lame, TruncatedDuration,
                         ::testing::Values(ToneOptions{}, ToneOptions{.vbr = true}),
                         [](const auto& info) { return std::string(info.param.vbr ? "Vbr" : "Cbr"); });

}  // namespace
}  // namespace tunekist
