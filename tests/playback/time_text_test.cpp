// A time as the clock shows it (hours only from one hour up, never wrapping at 24) and as a total
// (hours always).
#include "playback/time_text.h"

#include <gtest/gtest.h>

namespace tunekist {
namespace {

TEST(TimeText, ClockAndTotal) {
    struct {
        std::int32_t seconds;
        const char* clock;
        const char* total;  // none for the negative counts, which no total has
    } const rows[] = {
        {0, "00:00", "Totaal : 00:00:00"},          {59, "00:59", "Totaal : 00:00:59"},
        {60, "01:00", "Totaal : 00:01:00"},         {754, "12:34", "Totaal : 00:12:34"},
        {2467, "41:07", "Totaal : 00:41:07"},       {3599, "59:59", "Totaal : 00:59:59"},
        {3600, "01:00:00", "Totaal : 01:00:00"},    {4000, "01:06:40", "Totaal : 01:06:40"},
        {86399, "23:59:59", "Totaal : 23:59:59"},   {90000, "25:00:00", "Totaal : 25:00:00"},
        {360000, "100:00:00", "Totaal : 100:00:00"}, {-75, "-01:15", nullptr},
        {-3600, "-01:00:00", nullptr},              {INT32_MIN, "-596523:14:08", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(ToTimeValues(row.seconds), row.clock);
        if (row.total) {
            EXPECT_EQ(TotalCaption(row.seconds), row.total);
        }
    }
}

}  // namespace
}  // namespace tunekist
