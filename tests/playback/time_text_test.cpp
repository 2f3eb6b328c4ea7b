// A time as the clock shows it (hours only from one hour up, never wrapping at 24) and as a total
// (hours always).
#include "playback/time_text.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tunekist {
namespace {

TEST(TimeText, ClockAndTotal) {
    // No total for the negative counts: no total is ever negative.
    const std::tuple<std::int32_t, const char*, const char*> rows[] = {
        {0, "00:00", "Totaal : 00:00:00"},
        {59, "00:59", "Totaal : 00:00:59"},
        {60, "01:00", "Totaal : 00:01:00"},
        {754, "12:34", "Totaal : 00:12:34"},
        {2467, "41:07", "Totaal : 00:41:07"},
        {3599, "59:59", "Totaal : 00:59:59"},
        {3600, "01:00:00", "Totaal : 01:00:00"},
        {4000, "01:06:40", "Totaal : 01:06:40"},
        {86399, "23:59:59", "Totaal : 23:59:59"},
        {90000, "25:00:00", "Totaal : 25:00:00"},
        {360000, "100:00:00", "Totaal : 100:00:00"},
        {-75, "-01:15", nullptr},
        {-3600, "-01:00:00", nullptr},
        {INT32_MIN, "-596523:14:08", nullptr},
    };
    for (const auto& [seconds, clock, total] : rows) {
        SCOPED_TRACE(seconds);
        EXPECT_EQ(ToTimeValues(seconds), clock);
        if (total) {
            EXPECT_EQ(TotalCaption(seconds), total);
        }
    }
}

}  // namespace
}  // namespace tunekist
