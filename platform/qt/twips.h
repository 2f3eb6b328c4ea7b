#pragma once
#include <cmath>

namespace tunekist {

// The window lays out in twips; the screen is reached at 15 twips per device-independent pixel
// (96 dots per inch), so the window keeps its look on high-density screens.
inline constexpr float kTwipsPerPixel = 15.0f;

inline int TwipsToPixels(float twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline float PixelsToTwips(int pixels) { return static_cast<float>(pixels) * kTwipsPerPixel; }

}  // namespace tunekist
