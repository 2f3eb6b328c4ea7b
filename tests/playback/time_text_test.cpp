// A time as the clock shows it (hours only from one hour up, never wrapping at 24) and as a total
// (hours always).
#include "playback/time_text.h"

#include <gtest/gtest.h>

namespace tunekist {
namespace {

TEST(TimeText, ClockAndTotal) {
    const struct {
        std::int32_t seconds;
        const char* clock;
        const char* total;  // none for negative counts: no total is ever negative
    } rows[] = {
        {3599, "59:59", "Totaal : 00:59:59"},  // the last clock without hours
        {3600, "01:00:00", "Totaal : 01:00:00"},
        {360000, "100:00:00", "Totaal : 100:00:00"},  // past a day, and past 99 hours
        {-75, "-01:15", nullptr},
        {INT32_MIN, "-596523:14:08", nullptr},  // no overflow in the sign
    };
    for (const auto& [seconds, clock, total] : rows) {
        EXPECT_EQ(ToTimeValues(seconds), clock) << seconds;
        if (total) {
            EXPECT_EQ(TotalCaption(seconds), total) << seconds;
        }
    }
}

}  // namespace
}  // namespace tunekist
