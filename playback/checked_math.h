#pragma once
#include <cstdint>
#include <stdexcept>

namespace tunekist {

// Signed 32-bit arithmetic that throws std::overflow_error instead of wrapping.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t result;
    if (__builtin_add_overflow(a, b, &result)) throw std::overflow_error("Overflow");
    return result;
}
inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
    std::int32_t result;
    if (__builtin_sub_overflow(a, b, &result)) throw std::overflow_error("Overflow");
    return result;
}
inline std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
    std::int32_t result;
    if (__builtin_mul_overflow(a, b, &result)) throw std::overflow_error("Overflow");
    return result;
}

}  // namespace tunekist
