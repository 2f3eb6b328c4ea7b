#include "platform/engine/sample_gain.h"

#include <algorithm>
#include <cmath>

namespace tunekist {

std::int32_t GainToQ15(float gain) {
    // A NaN compares false everywhere and would reach lround; it is taken as silence.
    if (!(gain > 0.0f)) return 0;
    return static_cast<std::int32_t>(std::lround(std::min(gain, 1.0f) * static_cast<float>(kUnityGain)));
}

void ApplyGain(std::span<std::int16_t> samples, std::int32_t gainQ15) {
    if (gainQ15 == kUnityGain) return;
    // With a factor of at most one the product never leaves the 16-bit range.
    for (std::int16_t& sample : samples) {
        sample = static_cast<std::int16_t>((static_cast<std::int32_t>(sample) * gainQ15 + (1 << 14)) >> 15);
    }
}

}  // namespace tunekist
