#pragma once
#include <QWidget>

#include "platform/ui/shape.h"

namespace tunekist {

// A framed, opaque rectangle behind the window's other controls; border 2 pixels wide.
class FramePanel : public QWidget, public Shape {
public:
    // Every pixel is painted here, so what lies behind the panel is never painted for it.
    explicit FramePanel(QWidget* parent = nullptr) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    void Move(float left, float top, float width, float height) override;
    void SetBackColor(Color color) override;
    void SetBorderColor(Color color) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color backColor_ = 0xC0C0C0;
    Color borderColor_ = 0;
};

}  // namespace tunekist
