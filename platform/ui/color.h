#pragma once
#include <cstdint>

namespace tunekist {

// A colour as 0x00BBGGRR (red in the low byte).
using Color = std::uint32_t;

constexpr Color RGB(int red, int green, int blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) | (static_cast<Color>(blue) << 16);
}

}  // namespace tunekist
