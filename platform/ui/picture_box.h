#pragma once
#include "platform/ui/color.h"

namespace tunekist {

// A picture box whose drawing unit is the pixel (y grows downward) and whose drawing persists
// until its picture is reset.
class PictureBox {
public:
    virtual ~PictureBox() = default;
    // Erases everything drawn: the background colour shows again.
    virtual void ResetPicture() = 0;
    // Fills the box with corners (x1, y1) and (x2, y2), both included, clipped to the picture.
    virtual void FillBox(int x1, int y1, int x2, int y2, Color color) = 0;
    // Repaints at once.
    virtual void Refresh() = 0;
};

}  // namespace tunekist
