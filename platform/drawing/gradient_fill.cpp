#include "platform/drawing/gradient_fill.h"

#include <algorithm>
#include <cstdint>

namespace tunekist {
namespace {

// The channel `step` of `steps` from `from` toward `to`, in 16-bit form, then its 8-bit value.
std::uint8_t Interpolate(std::uint16_t from, std::uint16_t to, std::int64_t step, std::int64_t steps) {
    const std::int64_t value = from + (std::int64_t{to} - from) * step / steps;
    return static_cast<std::uint8_t>(value >> 8);
}

void FillRect(Canvas& dc, const TRIVERTEX& a, const TRIVERTEX& b, bool vertical) {
    // The vertex nearer the origin along the gradient's axis gives the starting colour.
    const bool aFirst = vertical ? a.y <= b.y : a.x <= b.x;
    const TRIVERTEX& first = aFirst ? a : b;
    const TRIVERTEX& last = aFirst ? b : a;
    const int left = std::max(std::min(a.x, b.x), 0);
    const int right = std::min(std::max(a.x, b.x), dc.Width());
    const int top = std::max(std::min(a.y, b.y), 0);
    const int bottom = std::min(std::max(a.y, b.y), dc.Height());
    const std::int64_t start = vertical ? first.y : first.x;
    const std::int64_t steps = std::max<std::int64_t>((vertical ? last.y : last.x) - start, 1);
    const auto colorAt = [&](int position) {
        const std::int64_t step = position - start;
        return RGB(Interpolate(first.Red, last.Red, step, steps), Interpolate(first.Green, last.Green, step, steps),
                   Interpolate(first.Blue, last.Blue, step, steps));
    };
    // A vertical gradient has one colour per row: worked out once and filled in one run, since
    // the buttons are drawn anew at every resize and change of state.
    for (int y = top; y < bottom; ++y) {
        if (vertical) {
            dc.FillRow(y, left, right, colorAt(y));
        } else {
            for (int x = left; x < right; ++x) dc.PSet(x, y, colorAt(x));
        }
    }
}

}  // namespace

bool GradientFill(Canvas& dc, const TRIVERTEX* vertices, std::uint32_t vertexCount, const GRADIENT_RECT* rects,
                  std::uint32_t rectCount, std::uint32_t mode) {
    if (mode != GRADIENT_FILL_RECT_V && mode != GRADIENT_FILL_RECT_H) {
        return false;
    }
    for (std::uint32_t i = 0; i < rectCount; ++i) {
        if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) {
            return false;
        }
    }
    for (std::uint32_t i = 0; i < rectCount; ++i) {
        FillRect(dc, vertices[rects[i].UpperLeft], vertices[rects[i].LowerRight], mode == GRADIENT_FILL_RECT_V);
    }
    return true;
}

}  // namespace tunekist
