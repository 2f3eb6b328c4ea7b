#include "playback/time_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "playback/rounding.h"

namespace tunekist {
namespace {

struct ClockCase {
    std::int32_t seconds;
    const char* text;
};
void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.seconds << " s"; }

class ToTimeValuesTable : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ToTimeValuesTable, GivesClockText) { EXPECT_EQ(ToTimeValues(GetParam().seconds), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Table, ToTimeValuesTable,
                         ::testing::Values(ClockCase{0, "00:00"}, ClockCase{59, "00:59"}, ClockCase{60, "01:00"},
                                           ClockCase{754, "12:34"}, ClockCase{3599, "59:59"},
                                           ClockCase{3600, "01:00:00"}, ClockCase{3661, "01:01:01"},
                                           ClockCase{86399, "23:59:59"}, ClockCase{90000, "25:00:00"},
                                           ClockCase{360000, "100:00:00"}, ClockCase{-75, "-01:15"},
                                           ClockCase{-3600, "-01:00:00"}, ClockCase{INT32_MIN, "-596523:14:08"}));

TEST(TotalCaption, AlwaysShowsHours) {
    EXPECT_EQ(TotalCaption(0), "Totaal : 00:00:00");
    EXPECT_EQ(TotalCaption(2467), "Totaal : 00:41:07");
    EXPECT_EQ(TotalCaption(4000), "Totaal : 01:06:40");
    EXPECT_EQ(TotalCaption(360000), "Totaal : 100:00:00");
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(59.5), 60);
    EXPECT_EQ(RoundHalfEven(58.5), 58);
    EXPECT_EQ(RoundHalfEven(0.4), 0);
    EXPECT_EQ(RoundHalfEven(2147483647.4), 2147483647);
}

TEST(RoundHalfEven, OverflowAndNotANumberFail) {
    EXPECT_THROW(RoundHalfEven(2147483647.5), std::overflow_error);
    EXPECT_THROW(RoundHalfEven(-2147483649.0), std::overflow_error);
    EXPECT_THROW(RoundHalfEven(std::nan("")), std::overflow_error);
}

TEST(DivideTruncating, TruncatesTowardZeroAndFailsOnZero) {
    EXPECT_EQ(DivideTruncating(7, 2), 3);
    EXPECT_EQ(DivideTruncating(-7, 2), -3);
    EXPECT_THROW(DivideTruncating(1, 0), std::domain_error);
    EXPECT_THROW(DivideTruncating(INT32_MIN, -1), std::overflow_error);
}

}  // namespace
}  // namespace tunekist
