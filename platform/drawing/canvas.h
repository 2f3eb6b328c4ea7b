#pragma once

#include <QFont>
#include <QImage>

#include "platform/drawing/color.h"

namespace tunekist {

// A persistent pixel image that a control draws into and shows on refresh: the device context
// of the button's surface. Every primitive here sets whole pixels exactly; nothing is blended.
// Coordinates are pixels, x to the right and y downward from the top-left pixel (0, 0).
class Canvas {
public:
    // An empty image; Resize gives it a size.
    Canvas();

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    // Gives the image a new size, keeping what was drawn at the top left and filling the rest
    // with `fill`. A size below zero is taken as zero.
    void Resize(int width, int height, ColorValue fill);

    // The whole image becomes `color`.
    void Cls(ColorValue color);

    // The one-pixel outline of the box with corners (x1,y1) and (x2,y2), both included, in either
    // order; a box one row high is the run of pixels between the two x values. Parts outside the
    // image are left out.
    void Line(int x1, int y1, int x2, int y2, ColorValue color);

    // The pixel (x, y) takes `color`; a pixel outside the image is ignored.
    void PSet(int x, int y, ColorValue color);

    // The pixels x = left ... right - 1 of row y take `color`; the part outside the image is
    // ignored. The same as PSet on each of them, at the cost of one.
    void FillRow(int y, int left, int right, ColorValue color);

    // The colour of the pixel (x, y), which must lie inside the image.
    ColorValue Point(int x, int y) const;

    // The font used for text, and the colour text is drawn in (transparent background).
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    ColorValue TextColor() const { return textColor_; }
    void SetTextColor(ColorValue color) { textColor_ = color; }

    // The pixels themselves, for blits and for showing the image.
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

private:
    QImage image_;
    QFont font_;
    ColorValue textColor_ = 0;
};

// An image of the given size at the screen's 96 dots per inch, so that point sizes of fonts
// map to the same pixels everywhere.
QImage NewScreenImage(int width, int height);

}  // namespace tunekist
