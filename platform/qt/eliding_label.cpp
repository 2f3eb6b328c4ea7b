#include "platform/qt/eliding_label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace tunekist {

void ElidingLabel::StopBefore(QWidget& neighbour, int gap) {
    if (neighbour_) neighbour_->removeEventFilter(this);
    neighbour_ = &neighbour;
    gap_ = gap;
    neighbour.installEventFilter(this);
    update();
}

bool ElidingLabel::eventFilter(QObject* watched, QEvent* event) {
    // A longer time moves the neighbour's left edge; the cut must follow it.
    if (watched == neighbour_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) update();
    return QLabel::eventFilter(watched, event);
}

void ElidingLabel::paintEvent(QPaintEvent* event) {
    QRect area = contentsRect();
    if (neighbour_) area.setRight(std::min(area.right(), neighbour_->x() - gap_ - x() - 1));
    if (fontMetrics().horizontalAdvance(text()) <= area.width()) {
        QLabel::paintEvent(event);
        return;
    }
    const QString cut = fontMetrics().elidedText(text(), Qt::ElideRight, std::max(area.width(), 0));
    QPainter painter(this);
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), cut, foregroundRole());
}

}  // namespace tunekist
