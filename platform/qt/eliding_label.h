#pragma once
#include <QLabel>
#include <QPointer>

namespace tunekist {

// A label whose caption stops short of the control to its right: where the whole caption would
// run into that control, it is cut and ends in "…". The caption itself (its text, and what a
// screen reader reads) stays whole.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

    // From now on the caption ends `gap` pixels before `neighbour`'s left edge, wherever the
    // neighbour moves; both stand in the same container.
    void StopBefore(QWidget& neighbour, int gap);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> neighbour_;
    int gap_ = 0;
};

}  // namespace tunekist
