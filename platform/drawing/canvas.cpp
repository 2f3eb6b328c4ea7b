#include "platform/drawing/canvas.h"

#include <algorithm>

namespace tunekist {
namespace {

// 96 dots per inch in dots per metre, rounded as the platform does.
constexpr int ScreenDotsPerMetre = 3780;

}  // namespace

QImage NewScreenImage(int width, int height) {
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    image.setDotsPerMeterX(ScreenDotsPerMetre);
    image.setDotsPerMeterY(ScreenDotsPerMetre);
    return image;
}

Canvas::Canvas() : image_(NewScreenImage(0, 0)) {}

void Canvas::Resize(int width, int height, ColorValue fill) {
    QImage resized = NewScreenImage(width, height);
    resized.fill(ToPixel(fill));
    const int keepWidth = std::min(resized.width(), image_.width());
    const int keepHeight = std::min(resized.height(), image_.height());
    for (int y = 0; y < keepHeight; ++y) {
        std::copy_n(reinterpret_cast<const QRgb*>(image_.constScanLine(y)), keepWidth,
                    reinterpret_cast<QRgb*>(resized.scanLine(y)));
    }
    image_ = std::move(resized);
}

void Canvas::Cls(ColorValue color) { image_.fill(ToPixel(color)); }

void Canvas::Line(int x1, int y1, int x2, int y2, ColorValue color) {
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    for (int x = left; x <= right; ++x) {
        PSet(x, top, color);
        PSet(x, bottom, color);
    }
    for (int y = top; y <= bottom; ++y) {
        PSet(left, y, color);
        PSet(right, y, color);
    }
}

void Canvas::PSet(int x, int y, ColorValue color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return;
    }
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToPixel(color);
}

void Canvas::FillRow(int y, int left, int right, ColorValue color) {
    left = std::max(left, 0);
    right = std::min(right, image_.width());
    if (y < 0 || y >= image_.height() || left >= right) return;
    std::fill_n(reinterpret_cast<QRgb*>(image_.scanLine(y)) + left, right - left, ToPixel(color));
}

ColorValue Canvas::Point(int x, int y) const {
    return FromPixel(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

}  // namespace tunekist
