#pragma once

#include <cstdint>
#include <string_view>

#include "platform/drawing/canvas.h"

namespace tunekist {

// A rectangle in pixels; right and bottom are exclusive.
struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

inline constexpr std::uint32_t DT_CENTER = 0x1;
inline constexpr std::uint32_t DT_WORDBREAK = 0x10;
inline constexpr std::uint32_t DT_CALCRECT = 0x400;

// Sets the colour of text drawn later on `dc` and returns the previous one.
ColorValue SetTextColor(Canvas& dc, ColorValue color);

// Lays out `text` (one byte per character, in the Latin-1 code page) in the canvas's font, line
// by line; a line feed always starts a new line and, with DT_WORDBREAK, a line also breaks
// between words before it would pass the rectangle's right edge (a single word wider than the
// rectangle stays whole). With DT_CALCRECT nothing is drawn: `rect`'s right and bottom become
// left plus the widest line and top plus the text's height. Without it the lines are drawn
// from the rectangle's top, left-aligned or with DT_CENTER centred between its left and right
// edges, in the canvas's text colour on a transparent background, clipped to the rectangle.
// Returns the text's height in pixels (0 for empty text).
int DrawTextA(Canvas& dc, std::string_view text, RECT& rect, std::uint32_t format);

}  // namespace tunekist
