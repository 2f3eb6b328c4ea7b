#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/pointer.h"

namespace tunekist {
namespace {

constexpr std::int16_t KeySpace = 32;
constexpr int HoverInterval = 10;

}  // namespace

void VistaButton::SetState(std::int32_t& NewState, bool& Changed) {
    const std::int32_t previous = fields_.ButtonState;
    fields_.ButtonState = NewState;
    Changed = NewState != previous;
    if (Changed) {
        Resize();
    }
}

void VistaButton::SetState(std::int32_t NewState) {
    bool changed = false;
    SetState(NewState, changed);
}

void VistaButton::IsMouseOver(bool& Over) const {
    POINT point;
    GetCursorPos(point);
    Over = WindowFromPoint(point) == this;
}

bool VistaButton::PointerInside(float x, float Y) const {
    return x >= 0 && Y >= 0 && x < ScaleWidth() && Y < ScaleHeight();
}

void VistaButton::Surface_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y) {
    if (!fields_.Enabled) return;
    RaiseEvent(events_.MouseDown, Button, Shift, x, Y);
    fields_.IsDown = true;
    SetState(StateDown);
    Refresh();
}

void VistaButton::Surface_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y) {
    if (!fields_.Enabled) return;
    RaiseEvent(events_.MouseMove, Button, Shift, x, Y);
    if (PointerInside(x, Y)) {
        RaiseEvent(events_.MouseIn);
        std::int32_t state = fields_.IsDown ? StateDown : StateHover;
        bool changed = false;
        SetState(state, changed);
        if (changed) {
            StartHover();
        }
    } else {
        // A button held after a press on it keeps receiving moves from outside.
        SetState(StateHover);
    }
}

void VistaButton::Surface_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y) {
    if (!fields_.Enabled) return;
    RaiseEvent(events_.MouseUp, Button, Shift, x, Y);
    fields_.IsDown = false;
    if (PointerInside(x, Y)) {
        SetState(StateHover);
    } else {
        SetState(fields_.HasFocus ? StateFocus : StateNormal);
    }
}

void VistaButton::Surface_Click() {
    if (!fields_.Enabled) return;
    RaiseEvent(events_.Click);
}

void VistaButton::Surface_GotFocus() {
    fields_.HasFocus = true;
    bool over = false;
    IsMouseOver(over);
    if (!over && fields_.Enabled && !fields_.IsDown) {
        SetState(StateFocus);
    }
}

void VistaButton::Surface_LostFocus() {
    fields_.HasFocus = false;
    bool over = false;
    IsMouseOver(over);
    if (!over && fields_.Enabled) {
        SetState(StateNormal);
    }
}

void VistaButton::Surface_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {
    if (KeyCode == KeySpace) {
        std::int16_t button = 0;
        std::int16_t shift = 0;
        float x = 0;
        float y = 0;
        Surface_MouseDown(button, shift, x, y);
    }
    if (fields_.Enabled) {
        RaiseEvent(events_.KeyDown, KeyCode, Shift);
    }
}

void VistaButton::Surface_KeyPress(std::int16_t& KeyAscii) {
    if (fields_.Enabled) {
        RaiseEvent(events_.KeyPress, KeyAscii);
    }
}

void VistaButton::Surface_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
    if (KeyCode == KeySpace) {
        bool over = false;
        IsMouseOver(over);
        std::int16_t button = 0;
        std::int16_t shift = 0;
        float x = over ? 0.0F : -1.0F;
        float y = 0;
        Surface_MouseUp(button, shift, x, y);
        if (fields_.Enabled) {
            RaiseEvent(events_.Click);
        }
    }
    if (fields_.Enabled) {
        RaiseEvent(events_.KeyUp, KeyCode, Shift);
    }
}

void VistaButton::Surface_OLECompleteDrag(std::int32_t& Effect) {
    if (fields_.Enabled) RaiseEvent(events_.OLECompleteDrag, Effect);
}

void VistaButton::Surface_OLEDragDrop(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                                      float& x, float& Y) {
    if (fields_.Enabled) RaiseEvent(events_.OLEDragDrop, Data, Effect, Button, Shift, x, Y);
}

void VistaButton::Surface_OLEDragOver(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                                      float& x, float& Y, std::int16_t& State) {
    if (fields_.Enabled) RaiseEvent(events_.OLEDragOver, Data, Effect, Button, Shift, x, Y, State);
}

void VistaButton::Surface_OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors) {
    if (fields_.Enabled) RaiseEvent(events_.OLEGiveFeedback, Effect, DefaultCursors);
}

void VistaButton::Surface_OLESetData(DataObject& Data, std::int16_t& DataFormat) {
    if (fields_.Enabled) RaiseEvent(events_.OLESetData, Data, DataFormat);
}

void VistaButton::Surface_OLEStartDrag(DataObject& Data, std::int32_t& AllowedEffects) {
    if (fields_.Enabled) RaiseEvent(events_.OLEStartDrag, Data, AllowedEffects);
}

void VistaButton::StartHover() {
    if (Hover) {
        return;
    }
    Hover.reset(new QTimer(this));
    Hover->setObjectName(QStringLiteral("Hover"));
    connect(Hover.get(), &QTimer::timeout, this, &VistaButton::Hover_Timer);
    Hover->setInterval(HoverInterval);
    Hover->start();
}

void VistaButton::Hover_Timer() {
    bool over = false;
    IsMouseOver(over);
    if (!over) {
        StopHover();
    }
}

void VistaButton::StopHover() {
    if (!Hover) {
        return;
    }
    Hover.reset();
    if (fields_.Enabled && !fields_.IsDown) {
        SetState(fields_.HasFocus ? StateFocus : StateNormal);
    }
    RaiseEvent(events_.MouseOut);
}

}  // namespace tunekist
