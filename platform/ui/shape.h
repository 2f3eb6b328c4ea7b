#pragma once
#include "platform/ui/color.h"

namespace tunekist {

// A framed rectangle drawn behind the window's other controls. Positions are twips.
class Shape {
public:
    virtual ~Shape() = default;
    virtual void Move(float left, float top, float width, float height) = 0;
    virtual void SetBackColor(Color color) = 0;
    virtual void SetBorderColor(Color color) = 0;
};

}  // namespace tunekist
