#pragma once
#include <cstdint>
#include <string>

namespace tunekist {

// The clock text of a whole number of seconds: "MM:SS", with "HH:" in front only from one hour up
// (754 gives "12:34", 3600 gives "01:00:00"). Hours grow past two digits and never wrap at 24.
// A negative count, which no caller passes, is shown as the text of its magnitude behind a minus
// sign ("-01:15"), never as fields with signs of their own.
std::string ToTimeValues(std::int32_t Seconds);

// The clock text of a time already split into hours, minutes and seconds: minutes and seconds of
// at least two digits, with the hours in front (at least two digits and ":") only when above 0.
std::string ClockText(std::int64_t hours, std::int64_t minutes, std::int64_t seconds);

// The caption of a total: "Totaal : HH:MM:SS", hours always shown (2467 gives
// "Totaal : 00:41:07").
std::string TotalCaption(std::int32_t totalSeconds);

}  // namespace tunekist
