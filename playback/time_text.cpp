#include "playback/time_text.h"

#include <cstdio>

namespace tunekist {
namespace {

std::string TwoDigits(std::int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
    return text;
}

std::string ClockTextOf(std::int64_t seconds) { return ClockText(seconds / 3600, seconds / 60 % 60, seconds % 60); }

}  // namespace

std::string ClockText(std::int64_t hours, std::int64_t minutes, std::int64_t seconds) {
    const std::string hourPrefix = hours > 0 ? TwoDigits(hours) + ":" : "";
    return hourPrefix + TwoDigits(minutes) + ":" + TwoDigits(seconds);
}

std::string ToTimeValues(std::int32_t Seconds) {
    // Widened first: the magnitude of INT32_MIN does not fit in 32 bits.
    const std::int64_t seconds = Seconds;
    return seconds < 0 ? "-" + ClockTextOf(-seconds) : ClockTextOf(seconds);
}

std::string TotalCaption(std::int32_t totalSeconds) {
    return "Totaal : " + TwoDigits(totalSeconds / 3600) + ":" + TwoDigits(totalSeconds / 60 % 60) + ":" +
           TwoDigits(totalSeconds % 60);
}

}  // namespace tunekist
