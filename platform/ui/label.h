#pragma once
#include <string>

namespace tunekist {

// A caption on the window (texts are UTF-8).
class Label {
public:
    virtual ~Label() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // Repaints at once, not at the next idle repaint.
    virtual void Refresh() = 0;
};

}  // namespace tunekist
