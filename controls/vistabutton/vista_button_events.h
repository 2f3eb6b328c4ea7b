#pragma once

#include <cstdint>
#include <functional>

class QMimeData;

namespace tunekist {

// The data object of a drag-and-drop notification.
using DataObject = const QMimeData*;

using MouseEventHandler = std::function<void(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y)>;

// The fifteen events a VistaButton raises to its host, in their declared order. The host sets
// the handlers it wants; an unset handler is simply not called. Every argument is passed by
// reference: a handler that changes one changes the value the surface sees.
struct VistaButtonEvents {
    std::function<void()> Click;
    std::function<void(std::int32_t& Effect)> OLECompleteDrag;
    std::function<void(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& x,
                       float& Y)>
        OLEDragDrop;
    std::function<void(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& x,
                       float& Y, std::int16_t& State)>
        OLEDragOver;
    std::function<void(std::int32_t& Effect, bool& DefaultCursors)> OLEGiveFeedback;
    std::function<void(DataObject& Data, std::int16_t& DataFormat)> OLESetData;
    std::function<void(DataObject& Data, std::int32_t& AllowedEffects)> OLEStartDrag;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyDown;
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyUp;
    MouseEventHandler MouseDown;
    MouseEventHandler MouseMove;
    MouseEventHandler MouseUp;
    std::function<void()> MouseIn;
    std::function<void()> MouseOut;
};

// Calls `handler` with `arguments` when the host has set it.
template <class Handler, class... Arguments>
void RaiseEvent(const Handler& handler, Arguments&... arguments) {
    if (handler) {
        handler(arguments...);
    }
}

}  // namespace tunekist
