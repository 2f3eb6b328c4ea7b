#pragma once
#include <QSlider>
#include <cstdint>
#include <functional>

#include "platform/ui/slider.h"

namespace tunekist {

// The vertical volume slider: 0 at the top to 20 at the bottom, small change 1, large change 5.
// Its text shows as its tool tip, and beside the thumb while it is dragged. It raises the events a
// person expects of it: MouseDown on a press, Scroll for every move of a drag, one Change for a
// finished change (a drag let go, a key, a click on the track, the wheel), Click on a release.
class VolumeSlider : public QSlider, public Slider {
public:
    explicit VolumeSlider(QWidget* parent = nullptr);

    std::int32_t Value() const override { return value(); }
    void SetText(const std::string& text) override;
    std::string Text() const override { return text_; }

    std::function<void()> Click;
    std::function<void(std::int16_t Button, std::int16_t Shift, float x, float y)> MouseDown;
    std::function<void()> Scroll;
    std::function<void()> Change;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnValueChanged();
    void OnReleased();
    void ShowTextAtThumb();

    std::string text_;
    int valueAtPress_ = 0;
};

}  // namespace tunekist
