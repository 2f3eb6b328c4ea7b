#include "controls/vistabutton/command_buttons.h"

#include <algorithm>

namespace tunekist {
namespace {

const StoredControl& FindStored(const std::vector<StoredControl>& stored, std::string_view name,
                                std::optional<std::int16_t> index) {
    const auto found = std::find_if(stored.begin(), stored.end(), [&](const StoredControl& control) {
        return control.type == "VistaButton" && control.name == name && control.index == index;
    });
    if (found == stored.end()) {
        throw PropertyBagError("the stored design data lacks " + std::string(name));
    }
    return *found;
}

VistaButton* CreateButton(QWidget& parent, const StoredControl& stored) {
    // The parent widget owns the button.
    auto* button = new VistaButton(&parent);
    QString name = QString::fromStdString(stored.name);
    if (stored.index) {
        name += QStringLiteral("(%1)").arg(*stored.index);
    }
    button->setObjectName(name);
    button->ReadProperties(stored.bag);
    return button;
}

}  // namespace

std::vector<StoredControl> LoadPropertyBags(std::string_view text) { return ParseStoredControls(text); }

CommandButtons CreateCommandButtons(QWidget& parent) {
    const std::vector<StoredControl> stored = LoadPropertyBags(StoredButtonDesign());
    CommandButtons buttons;
    buttons.ExitKnop = CreateButton(parent, FindStored(stored, "ExitKnop", std::nullopt));
    for (std::size_t i = 0; i < buttons.Knop.size(); ++i) {
        buttons.Knop[i] = CreateButton(parent, FindStored(stored, "Knop", static_cast<std::int16_t>(i)));
    }
    return buttons;
}

}  // namespace tunekist
