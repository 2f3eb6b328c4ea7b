#pragma once
#include <cstdint>

#include "platform/ui/label.h"
#include "platform/ui/picture_box.h"

namespace tunekist {

// The percentage last shown, and the bar's height in pixels (twice the percentage). They keep
// their values from one call, and one song, to the next.
extern std::int32_t BarPercent;
extern std::int32_t BarFill;

// The bar's colour, RGB(100, 200, 50), and its background, RGB(30, 0, 0).
inline constexpr Color kBarColor = RGB(100, 200, 50);
inline constexpr Color kBarBackColor = RGB(30, 0, 0);

// Shows how far the song has got: a green bar growing up from the bottom of the 46 x 200 pixel
// `Bar`, two pixels per percent, and "N%" in `BarLabel`. `BarX` is the position in seconds,
// `Grootte` the duration in whole seconds. Each step ignores its own failure: with a duration of
// 0 the previous percentage is shown again.
void ShowBar(const double& BarX, const std::int32_t& Grootte, PictureBox& Bar, Label& BarLabel);

}  // namespace tunekist
