#pragma once
#include <string>

namespace tunekist {

// Shows a modal message box with an OK button only, no icon, and the program's title as caption.
// Returns when the user has closed it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void Show(const std::string& text) = 0;
};

}  // namespace tunekist
