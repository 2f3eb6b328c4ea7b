#include "playback/rounding.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tunekist {

std::int32_t RoundHalfEven(double x) {
    // nearbyint rounds in the current mode, which the program never changes from to-nearest-even.
    const double rounded = std::nearbyint(x);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())) {
        throw std::overflow_error("Overflow");
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t DivideTruncating(std::int32_t dividend, std::int32_t divisor) {
    if (divisor == 0) throw std::domain_error("Division by zero");
    if (dividend == std::numeric_limits<std::int32_t>::min() && divisor == -1) {
        throw std::overflow_error("Overflow");
    }
    return dividend / divisor;
}

}  // namespace tunekist
