#pragma once
#include <QImage>
#include <QWidget>

#include "platform/ui/picture_box.h"

namespace tunekist {

// A picture box whose drawing unit is the pixel and whose drawing persists until its picture is
// reset: the progress bar. Its image keeps the widget's size in device-independent pixels.
class BarPicture : public QWidget, public PictureBox {
public:
    explicit BarPicture(QWidget* parent = nullptr);

    void SetBackColor(Color color);
    void ResetPicture() override;
    void FillBox(int x1, int y1, int x2, int y2, Color color) override;
    void Refresh() override { repaint(); }

    // What is drawn, in pixels.
    const QImage& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
    Color backColor_ = 0;
};

// The Qt colour of a 0x00BBGGRR value.
QColor ToQColor(Color color);

}  // namespace tunekist
