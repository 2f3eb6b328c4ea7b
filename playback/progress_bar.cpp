#include "playback/progress_bar.h"

#include <string>

#include "platform/ignore_error.h"
#include "playback/checked_math.h"
#include "playback/rounding.h"

namespace tunekist {

std::int32_t BarPercent = 0;
std::int32_t BarFill = 0;

void ShowBar(const double& BarX, const std::int32_t& Grootte, PictureBox& Bar, Label& BarLabel) {
    IgnoreError([&] { BarPercent = DivideTruncating(RoundHalfEven(BarX * 100), Grootte); });
    IgnoreError([&] { BarFill = CheckedMul(BarPercent, 2); });
    // Earlier boxes are not erased: while a song plays the percentage only grows.
    IgnoreError([&] { Bar.FillBox(0, 200, 41, CheckedSub(197, BarFill), kBarColor); });
    IgnoreError([&] { BarLabel.SetCaption(std::to_string(BarPercent) + "%"); });
    IgnoreError([&] { Bar.Refresh(); });
    IgnoreError([&] { BarLabel.Refresh(); });
}

}  // namespace tunekist
