#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "controls/vistabutton/property_bag.h"
#include "controls/vistabutton/vista_button.h"

namespace tunekist {

// The window's stored design data of its seven command buttons, built into the program.
std::string_view StoredButtonDesign();

// Reads the property bags of the controls stored in `text`; raises PropertyBagError for
// malformed text.
std::vector<StoredControl> LoadPropertyBags(std::string_view text);

// The window's command buttons. They are children of the widget given to
// CreateCommandButtons, which owns them.
struct CommandButtons {
    VistaButton* ExitKnop = nullptr;
    std::array<VistaButton*, 6> Knop{};
};

// Creates ExitKnop and Knop(0) to Knop(5) on `parent`, each named after its stored entry and
// loaded from the stored design data through ReadProperties. Raises PropertyBagError when the
// design data lacks one of them or holds a malformed value.
CommandButtons CreateCommandButtons(QWidget& parent);

}  // namespace tunekist
