#include "library/size_text.h"

namespace tunekist {

std::string FormatByteCount(std::int64_t bytes, const std::string& groupSeparator) {
    // Through the unsigned magnitude, so that the most negative count has a magnitude too.
    const bool negative = bytes < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += groupSeparator;
        text += digits[i];
    }
    return negative ? "-" + text : text;
}

}  // namespace tunekist
