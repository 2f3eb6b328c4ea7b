#pragma once
#include <QLabel>
#include <QString>

#include "platform/ui/label.h"

namespace tunekist {

// Sets `label`'s caption and sizes the label to it. A right-aligned label anchored with
// AnchorRightEdge grows and shrinks to the left, so a longer caption is not cut at its container's
// edge.
void SetLabelCaption(QLabel& label, const QString& caption);

// Keeps `label`'s right edge at `right` (pixels in its container) from now on.
void AnchorRightEdge(QLabel& label, int right);

// A label of the window. It sizes itself to its caption, as the window's labels do.
class QtLabel : public Label {
public:
    explicit QtLabel(QLabel& label) : label_(label) {}
    std::string Caption() const override { return label_.text().toStdString(); }
    void SetCaption(const std::string& caption) override { SetLabelCaption(label_, QString::fromStdString(caption)); }
    void Refresh() override { label_.repaint(); }

private:
    QLabel& label_;
};

}  // namespace tunekist
