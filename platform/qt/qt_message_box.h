#pragma once
#include <QWidget>
#include <functional>

#include "platform/ui/message_box.h"

namespace tunekist {

// The program's title, the caption of every message box.
inline constexpr const char* kProgramTitle = "Tunekist";

// A modal message box over `parent`: OK only, no icon, caption "Tunekist".
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget& parent) : parent_(parent) {}
    void Show(const std::string& text) override;

    // Called just before a box blocks, so that those who watch the player see its state then.
    std::function<void()> Opening;

private:
    QWidget& parent_;
};

}  // namespace tunekist
