// The volume in the audio callback: a Q15 factor on 16-bit samples, exact at full volume, rounded
// to the nearest step below it, halves up, and never outside the 16-bit range.
#include <gtest/gtest.h>

#include <vector>

#include "platform/engine/sample_gain.h"

namespace tunekist {
namespace {

struct ApplyCase {
    const char* name;
    std::int32_t q15;
    std::vector<std::int16_t> before, after;
};

void PrintTo(const ApplyCase& apply, std::ostream* out) { *out << apply.name; }

class ApplyGainTest : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyGainTest, ScalesEverySampleRoundingHalvesUp) {
    std::vector<std::int16_t> samples = GetParam().before;
    ApplyGain(samples, GetParam().q15);
    EXPECT_EQ(samples, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ApplyGainTest,
    ::testing::Values(ApplyCase{"FullLeavesThemAsTheyAre", kUnityGain, {-32768, -1, 0, 1, 12345, 32767},
                                {-32768, -1, 0, 1, 12345, 32767}},
                      // Halves: -1.5 -> -1, -0.5 -> 0, 0.5 -> 1, 1.5 -> 2, 16383.5 -> 16384.
                      ApplyCase{"Half", 16384, {-32768, -3, -1, 0, 1, 3, 32767}, {-16384, -1, 0, 0, 1, 2, 16384}},
                      ApplyCase{"TwentyDecibelsDownIsATenth", GainToQ15(0.1f), {32767, -32768, 10000},
                                {3277, -3277, 1000}},
                      ApplyCase{"SilenceIsZero", 0, {-32768, -7, 7, 32767}, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist
