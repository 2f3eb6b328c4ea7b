#include "library/size_text.h"

#include <gtest/gtest.h>

namespace tunekist {
namespace {

struct SizeCase {
    std::int64_t bytes;
    std::string separator;
    std::string text;
};

class SizeText : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeText, GroupsThousandsWithTheSeparatorAndShowsAtLeastThreeDigits) {
    EXPECT_EQ(FormatByteCount(GetParam().bytes, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, SizeText,
    ::testing::Values(SizeCase{0, ".", "000"}, SizeCase{5, ".", "005"}, SizeCase{99, ".", "099"},
                      SizeCase{100, ".", "100"}, SizeCase{999, ",", "999"}, SizeCase{1000, ".", "1.000"},
                      SizeCase{1000, ",", "1,000"}, SizeCase{65536, ".", "65.536"},
                      SizeCase{4321056, ".", "4.321.056"}, SizeCase{4321056, ",", "4,321,056"},
                      SizeCase{4321056, "\u00a0", "4\u00a0321\u00a0056"},
                      SizeCase{9223372036854775807, ".", "9.223.372.036.854.775.807"},
                      SizeCase{-1000, ".", "-1.000"}));

}  // namespace
}  // namespace tunekist
