#include "controls/vistabutton/vista_button.h"
#include "controls/vistabutton/vista_button_accessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/mouse_codes.h"

namespace tunekist {
namespace {

constexpr std::int16_t KeySpace = 32;

// The platform's virtual key code of a key: letters and digits are their upper-case ASCII
// codes, the rest follow the platform's table; keys it lacks read as 0.
std::int16_t KeyCodeOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<std::int16_t>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Space: return KeySpace;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return 16;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return 27;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return 35;
        case Qt::Key_Home: return 36;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        default: return 0;
    }
}

}  // namespace

VistaButton::VistaButton(QWidget* parent) : QWidget(parent) {
    InstallVistaButtonAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves arrive with no mouse button held too, as the hover look needs.
    setMouseTracking(true);
    SetExtenderTabStop(true);
    Initialize();
}

VistaButton::~VistaButton() = default;

void VistaButton::HoverTimerDeleter::operator()(QTimer* timer) const {
    // The timer may be removed from inside its own notification, so it goes once that returns.
    timer->stop();
    timer->deleteLater();
}

void VistaButton::Initialize() {
    // The surface always works in pixels (ScaleMode 3) and draws into a persistent image that
    // Refresh shows (AutoRedraw); its own border setting is 0, as the widget draws no frame.
    setContentsMargins(0, 0, 0, 0);
    fields_.ButtonState = StateNormal;
    fields_.IsDown = false;
}

bool VistaButton::ExtenderTabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }

void VistaButton::SetExtenderTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

void VistaButton::Refresh() { update(); }

void VistaButton::SyncSurfaceSize() {
    if (surface_.Width() != width() || surface_.Height() != height()) {
        surface_.Resize(width(), height(), backColor_);
    }
}

void VistaButton::Cls() {
    SyncSurfaceSize();
    surface_.Cls(backColor_);
}

void VistaButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_.Image());
}

void VistaButton::resizeEvent(QResizeEvent*) { Resize(); }

void VistaButton::mousePressEvent(QMouseEvent* event) {
    pressedOnSurface_ = true;
    MouseArgs args = MouseArgsOf(*event, event->button());
    Surface_MouseDown(args.button, args.shift, args.x, args.y);
}

void VistaButton::mouseMoveEvent(QMouseEvent* event) {
    MouseArgs args = MouseArgsOf(*event, event->buttons());
    Surface_MouseMove(args.button, args.shift, args.x, args.y);
}

void VistaButton::mouseReleaseEvent(QMouseEvent* event) {
    MouseArgs args = MouseArgsOf(*event, event->button());
    const QPoint point = event->position().toPoint();
    const bool overButton = rect().contains(point) && (mask().isEmpty() || mask().contains(point));
    // Only the left button clicks: a right-button press shows the pressed look and raises
    // MouseDown and MouseUp, but must not run the button's command.
    const bool clicked = pressedOnSurface_ && overButton && event->button() == Qt::LeftButton;
    if (event->buttons() == Qt::NoButton) {
        pressedOnSurface_ = false;
    }
    Surface_MouseUp(args.button, args.shift, args.x, args.y);
    if (clicked) {
        Surface_Click();
    }
}

void VistaButton::keyPressEvent(QKeyEvent* event) {
    std::int16_t keyCode = KeyCodeOf(event->key());
    std::int16_t shift = ShiftCode(event->modifiers());
    Surface_KeyDown(keyCode, shift);
    // Space is the button's own key: it presses the button and yields no character.
    const QString text = event->text();
    if (event->key() != Qt::Key_Space && text.size() == 1 && text.front().unicode() < 256) {
        std::int16_t keyAscii = static_cast<std::int16_t>(text.front().unicode());
        Surface_KeyPress(keyAscii);
    }
}

void VistaButton::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press only, as the platform's keyboard does.
    if (event->isAutoRepeat()) {
        return;
    }
    std::int16_t keyCode = KeyCodeOf(event->key());
    std::int16_t shift = ShiftCode(event->modifiers());
    Surface_KeyUp(keyCode, shift);
}

void VistaButton::focusInEvent(QFocusEvent*) { Surface_GotFocus(); }

void VistaButton::focusOutEvent(QFocusEvent*) { Surface_LostFocus(); }

}  // namespace tunekist
