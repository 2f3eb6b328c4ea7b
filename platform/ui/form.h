#pragma once
#include <string>

#include "platform/ui/color.h"

namespace tunekist {

// The window itself and what it knows of its surroundings.
class Form {
public:
    virtual ~Form() = default;
    virtual void SetBackColor(Color color) = 0;
    // The screen's size in twips (15 twips per device-independent pixel).
    virtual float ScreenWidthTwips() const = 0;
    virtual float ScreenHeightTwips() const = 0;
    // The program's own folder, without a trailing separator.
    virtual std::string AppPath() const = 0;
    // Closes the window, which ends the program.
    virtual void Unload() = 0;
};

}  // namespace tunekist
