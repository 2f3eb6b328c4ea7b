#include "playback/time_text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tunekist
