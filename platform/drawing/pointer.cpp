#include "platform/drawing/pointer.h"

#include <QApplication>
#include <QCursor>

namespace tunekist {

void GetCursorPos(POINT& point) {
    const QPoint position = QCursor::pos();
    point.x = position.x();
    point.y = position.y();
}

QWidget* WindowFromPoint(POINT point) { return QApplication::widgetAt(QPoint(point.x, point.y)); }

}  // namespace tunekist
