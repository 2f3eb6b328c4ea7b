#pragma once

#include <cstdint>

class QWidget;

namespace tunekist {

// A point in screen pixels.
struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Stores the pointer's position in screen coordinates in `point`.
void GetCursorPos(POINT& point);

// The innermost window under the screen point, or nullptr when none of the program's windows
// is there. A window's region counts: its cut-away pixels belong to what lies behind.
QWidget* WindowFromPoint(POINT point);

}  // namespace tunekist
