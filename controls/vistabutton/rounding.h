#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace tunekist {

// Rounds to the nearest whole number, halves to the even neighbour.
inline double RoundHalfEven(double value) { return std::nearbyint(value); }

// A whole number as a signed 16-bit value; outside that range it raises std::overflow_error.
inline std::int16_t ToInteger16(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max())) {
        throw std::overflow_error("value outside the 16-bit range");
    }
    return static_cast<std::int16_t>(rounded);
}

// A whole number as a signed 32-bit value; outside that range it raises std::overflow_error.
inline std::int32_t ToInteger32(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())) {
        throw std::overflow_error("value outside the 32-bit range");
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace tunekist
