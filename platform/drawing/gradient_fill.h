#pragma once

#include <cstdint>

#include "platform/drawing/canvas.h"

namespace tunekist {

// A corner of a gradient: position in pixels and colour channels as 16-bit values (an 8-bit
// channel times 256). Alpha is carried but not drawn.
struct TRIVERTEX {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t Red = 0;
    std::uint16_t Green = 0;
    std::uint16_t Blue = 0;
    std::uint16_t Alpha = 0;
};

// A rectangle given by the indices of two vertices: its upper-left and lower-right corner.
struct GRADIENT_RECT {
    std::uint32_t UpperLeft = 0;
    std::uint32_t LowerRight = 1;
};

inline constexpr std::uint32_t GRADIENT_FILL_RECT_H = 0;
inline constexpr std::uint32_t GRADIENT_FILL_RECT_V = 1;

// Fills each rectangle with a linear gradient between its two vertices. It paints the pixels
// with min(x) <= x < max(x) and min(y) <= y < max(y) (right and bottom edges left out). With
// GRADIENT_FILL_RECT_V every pixel's colour depends on its row alone: the upper vertex's
// colour on the top row, moving linearly toward the lower vertex's colour, the colour that the
// excluded bottom row would have; GRADIENT_FILL_RECT_H does the same across the columns.
// Returns false, painting nothing, for an unknown mode or an index outside the vertices.
bool GradientFill(Canvas& dc, const TRIVERTEX* vertices, std::uint32_t vertexCount, const GRADIENT_RECT* rects,
                  std::uint32_t rectCount, std::uint32_t mode);

}  // namespace tunekist
