#pragma once
// Mouse and keyboard state as the controls' events carry it: buttons as a mask (1 left, 2 right,
// 4 middle) and the Shift, Ctrl and Alt keys as a mask (1, 2, 4).

#include <QMouseEvent>

#include <cstdint>

namespace tunekist {

inline std::int16_t ButtonCode(Qt::MouseButtons buttons) {
    return static_cast<std::int16_t>((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                                     (buttons & Qt::MiddleButton ? 4 : 0));
}

inline std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
    return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0) |
                                     (modifiers & Qt::ControlModifier ? 2 : 0) | (modifiers & Qt::AltModifier ? 4 : 0));
}

// One mouse event's arguments: `buttons` is the button that changed (a press or release) or the
// buttons held (a move); x and y are in the control's pixels.
struct MouseArgs {
    std::int16_t button;
    std::int16_t shift;
    float x;
    float y;
};

inline MouseArgs MouseArgsOf(const QMouseEvent& event, Qt::MouseButtons buttons) {
    return {ButtonCode(buttons), ShiftCode(event.modifiers()), static_cast<float>(event.position().x()),
            static_cast<float>(event.position().y())};
}

}  // namespace tunekist
