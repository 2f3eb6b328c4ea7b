#include "platform/qt/frame_panel.h"

#include <QPainter>

#include "platform/qt/bar_picture.h"
#include "platform/qt/twips.h"

namespace tunekist {
namespace {
constexpr int kBorderWidth = 2;
}

void FramePanel::Move(float left, float top, float width, float height) {
    setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

void FramePanel::SetBackColor(Color color) {
    backColor_ = color;
    update();
}

void FramePanel::SetBorderColor(Color color) {
    borderColor_ = color;
    update();
}

void FramePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(borderColor_));
    painter.fillRect(rect().adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth), ToQColor(backColor_));
}

}  // namespace tunekist
