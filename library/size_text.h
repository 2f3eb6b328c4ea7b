#pragma once
#include <cstdint>
#include <string>

namespace tunekist {

// The size column's text of a byte count: digits grouped by thousands with `groupSeparator`, no
// fraction, and at least three digits (99 gives "099"; 4321056 gives "4.321.056" with "." and
// "4,321,056" with ","). A negative count, which no file has, is shown with a leading minus.
std::string FormatByteCount(std::int64_t bytes, const std::string& groupSeparator);

}  // namespace tunekist
