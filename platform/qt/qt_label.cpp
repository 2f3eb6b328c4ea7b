#include "platform/qt/qt_label.h"

#include <QVariant>

namespace tunekist {
namespace {
constexpr const char* kRightEdgeProperty = "tunekistRightEdge";

void KeepRightEdge(QLabel& label) {
    const QVariant right = label.property(kRightEdgeProperty);
    if (right.isValid()) label.move(right.toInt() - label.width(), label.y());
}
}  // namespace

void SetLabelCaption(QLabel& label, const QString& caption) {
    label.setText(caption);
    label.adjustSize();
    KeepRightEdge(label);
}

void AnchorRightEdge(QLabel& label, int right) {
    label.setProperty(kRightEdgeProperty, right);
    KeepRightEdge(label);
}

}  // namespace tunekist
