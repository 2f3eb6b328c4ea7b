#pragma once

#include <array>
#include <cstdint>

namespace tunekist {

// An 8-bit R,G,B triple of the fixed palettes.
struct PaletteColor {
    std::int16_t R;
    std::int16_t G;
    std::int16_t B;
};

// The colours a face is painted with in one state: the end colours G0..G7 of the gradient
// bands, and E0..E20 for the border, the two inner lines and the corner pixels.
struct StatePalette {
    std::array<PaletteColor, 8> Bands;
    std::array<PaletteColor, 21> Edges;
};

// The palette of a ButtonState (0 to 4); any other value raises std::out_of_range.
const StatePalette& PaletteOf(std::int32_t state);

}  // namespace tunekist
