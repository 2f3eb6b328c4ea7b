#pragma once
#include <cstdint>

namespace tunekist {

// R(x): `x` rounded to the nearest signed 32-bit integer, halves to the even neighbour
// (2.5 gives 2, 3.5 gives 4). Throws std::overflow_error for NaN or a value outside the range.
std::int32_t RoundHalfEven(double x);

// Integer division truncating toward zero; throws std::domain_error on a zero divisor and
// std::overflow_error on INT32_MIN / -1.
std::int32_t DivideTruncating(std::int32_t dividend, std::int32_t divisor);

}  // namespace tunekist
