#include "platform/qt/volume_slider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include "platform/qt/mouse_codes.h"

namespace tunekist {
namespace {

void Raise(const std::function<void()>& event) {
    if (event) event();
}

}  // namespace

VolumeSlider::VolumeSlider(QWidget* parent) : QSlider(Qt::Vertical, parent) {
    setRange(0, 20);
    setSingleStep(1);
    setPageStep(5);
    // 0, the loudest, stands at the top.
    setInvertedAppearance(true);
    setInvertedControls(true);
    setTickPosition(QSlider::TicksBothSides);
    setTickInterval(1);
    connect(this, &QSlider::valueChanged, this, [this] { OnValueChanged(); });
    connect(this, &QSlider::sliderReleased, this, [this] { OnReleased(); });
}

void VolumeSlider::SetText(const std::string& text) {
    text_ = text;
    setToolTip(QString::fromStdString(text));
    if (isSliderDown()) ShowTextAtThumb();
}

void VolumeSlider::ShowTextAtThumb() {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect thumb = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    QToolTip::showText(mapToGlobal(thumb.topRight()), toolTip(), this);
}

void VolumeSlider::OnValueChanged() {
    // While the thumb is held every move is a Scroll; the Change comes when it is let go.
    if (isSliderDown()) {
        Raise(Scroll);
    } else {
        Raise(Change);
    }
}

void VolumeSlider::OnReleased() {
    if (value() != valueAtPress_) Raise(Change);
}

void VolumeSlider::mousePressEvent(QMouseEvent* event) {
    valueAtPress_ = value();
    if (MouseDown) {
        const MouseArgs args = MouseArgsOf(*event, event->button());
        MouseDown(args.button, args.shift, args.x, args.y);
    }
    QSlider::mousePressEvent(event);
}

void VolumeSlider::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint())) Raise(Click);
}

}  // namespace tunekist
