#include "platform/qt/bar_picture.h"

#include <QPainter>
#include <algorithm>

namespace tunekist {

QColor ToQColor(Color color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

BarPicture::BarPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    ResetPicture();
}

void BarPicture::SetBackColor(Color color) {
    backColor_ = color;
    ResetPicture();
}

void BarPicture::ResetPicture() {
    image_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    image_.fill(ToQColor(backColor_));
    update();
}

void BarPicture::FillBox(int x1, int y1, int x2, int y2, Color color) {
    // Both corners belong to the box; what falls outside the picture is clipped.
    const int left = std::max(std::min(x1, x2), 0);
    const int right = std::min(std::max(x1, x2), image_.width() - 1);
    const int top = std::max(std::min(y1, y2), 0);
    const int bottom = std::min(std::max(y1, y2), image_.height() - 1);
    if (left > right || top > bottom) return;
    const QRgb pixel = ToQColor(color).rgb();
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + left, line + right + 1, pixel);
    }
    update();
}

void BarPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void BarPicture::resizeEvent(QResizeEvent*) {
    // The drawing stays; a larger picture shows the background where nothing was drawn yet.
    QImage resized(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    resized.fill(ToQColor(backColor_));
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
    painter.end();
    image_ = resized;
}

}  // namespace tunekist
