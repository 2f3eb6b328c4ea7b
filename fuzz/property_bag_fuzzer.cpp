// Feeds arbitrary text to the reader of stored property bags and reads every stored control the
// way a button reads its design data (strings, colours, numbers, Booleans, fonts, pictures).
// A PropertyBagError is the expected answer to malformed text; what parses must also survive
// being written and read back unchanged.

#include <QFont>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "controls/vistabutton/bag_values.h"
#include "controls/vistabutton/property_bag.h"

namespace {

template <typename Read>
void Quietly(Read read) {
    try {
        read();
    } catch (const tunekist::PropertyBagError&) {}
}

void ReadLikeAButton(const tunekist::PropertyBag& bag) {
    using namespace tunekist;
    Quietly([&] { ReadString(bag, "Caption", "Knop"); });
    Quietly([&] { ReadColor(bag, "ForeColor", 0); });
    Quietly([&] { ReadFont(bag, "Font", QFont()); });
    Quietly([&] { ReadPicture(bag, "Picture", nullptr); });
    Quietly([&] { ReadInteger(bag, "Pictures", 2); });
    Quietly([&] { ReadBoolean(bag, "UseMaskColor", true); });
    Quietly([&] { ReadColor(bag, "MaskColor", 0x0000FF00); });
    Quietly([&] { ReadBoolean(bag, "Enabled", true); });
    Quietly([&] { ReadLong(bag, "NoBackground", 0); });
    Quietly([&] { ReadColor(bag, "BackColor", 0x8000000F); });
    Quietly([&] { ReadInteger(bag, "PictureOffset", 0); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<tunekist::StoredControl> controls;
    try {
        controls = tunekist::ParseStoredControls(text);
    } catch (const tunekist::PropertyBagError&) {
        return 0;
    }
    for (const auto& control : controls) ReadLikeAButton(control.bag);
    // What was read must be written in a form that reads back as the same controls.
    const std::string written = tunekist::FormatStoredControls(controls);
    if (tunekist::ParseStoredControls(written) != controls) std::abort();
    return 0;
}
