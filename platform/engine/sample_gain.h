#pragma once
// The volume as the audio callback applies it: a fixed-point (Q15) factor on 16-bit samples, so
// the callback never converts samples to floating point and back.

#include <cstdint>
#include <span>

namespace tunekist {

// An amplitude factor between 0 and 1 as a multiple of 1/32768; kUnityGain leaves samples as
// they are. Factors outside 0 ... 1 are clamped into it.
inline constexpr std::int32_t kUnityGain = 32768;
std::int32_t GainToQ15(float gain);

// Multiplies every sample by gainQ15 / 32768, rounding halves up; kUnityGain returns at once.
void ApplyGain(std::span<std::int16_t> samples, std::int32_t gainQ15);

}  // namespace tunekist
