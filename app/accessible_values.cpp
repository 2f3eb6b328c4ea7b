#include "app/accessible_values.h"

#include <QAccessibleWidget>

#include "platform/qt/bar_picture.h"
#include "platform/qt/volume_slider.h"
#include "playback/progress_bar.h"
#include "playback/volume.h"

namespace tunekist {
namespace {

// A gauge read by percentage, 0 to 100; `Percent` gives the value now, `SetPercent` moves it
// (when the person may).
class PercentGauge : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    PercentGauge(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return Percent(); }
    void setCurrentValue(const QVariant& value) override { SetPercent(value.toInt()); }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }

protected:
    virtual int Percent() const = 0;
    virtual void SetPercent(int /*percent*/) {}
};

class VolumeSliderGauge : public PercentGauge {
public:
    explicit VolumeSliderGauge(VolumeSlider* slider) : PercentGauge(slider, QAccessible::Slider), slider_(slider) {}
    QVariant minimumStepSize() const override { return 5; }

protected:
    int Percent() const override { return VolumePercentage(slider_->value()); }
    // The nearest step; the slider raises its events as for a key.
    void SetPercent(int percent) override { slider_->setValue((100 - percent + 2) / 5); }

private:
    VolumeSlider* slider_;
};

class ProgressBarGauge : public PercentGauge {
public:
    explicit ProgressBarGauge(BarPicture* bar) : PercentGauge(bar, QAccessible::ProgressBar) {}
    QVariant minimumStepSize() const override { return 0; }

protected:
    int Percent() const override { return BarPercent; }
};

// Qt's accessibility cache owns every interface a factory makes.
QAccessibleInterface* MakeGauge(const QString& /*className*/, QObject* object) {
    // Neither control declares a class of its own to Qt's meta-object system.
    if (auto* slider = dynamic_cast<VolumeSlider*>(object)) return new VolumeSliderGauge(slider);
    if (auto* bar = dynamic_cast<BarPicture*>(object)) return new ProgressBarGauge(bar);
    return nullptr;
}

}  // namespace

void InstallAccessibleValues() {
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(MakeGauge);
}

}  // namespace tunekist
