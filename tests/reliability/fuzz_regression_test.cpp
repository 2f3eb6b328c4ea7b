// Inputs our fuzzers found to break a reader, kept so that they stay mended. Each runs through
// the same checks as its fuzzer: a stored-controls text is refused with PropertyBagError or reads
// back unchanged after being written.
#include <gtest/gtest.h>

#include <string>

#include "controls/vistabutton/property_bag.h"

namespace tunekist::test {
namespace {

struct BagText {
    const char* name;
    std::string text;
};

void PrintTo(const BagText& input, std::ostream* out) { *out << input.name; }

class StoredControlsRoundTrip : public ::testing::TestWithParam<BagText> {};

TEST_P(StoredControlsRoundTrip, ReadsBackWhatItWrote) {
    std::vector<StoredControl> controls;
    try {
        controls = ParseStoredControls(GetParam().text);
    } catch (const PropertyBagError&) {
        return;
    }
    const std::string written = FormatStoredControls(controls);
    EXPECT_EQ(ParseStoredControls(written), controls) << written;
}

INSTANTIATE_TEST_SUITE_P(
    FoundByFuzzing, StoredControlsRoundTrip,
    ::testing::Values(
        // A property named Begin was written padded ("Begin         = 1") and read back as the
        // start of a control inside a control.
        BagText{"PropertyNamedBegin", "Begin VistaButton Knop(4)\n   Begin= 1\nEnd\n"},
        BagText{"PropertyNamedBeginAsFound",
                std::string("Begin VistaButton Knop(4)\n   Caption       = Fo0FF00\n   Begin= Fo0   Picture  \n"
                            "seMor  = -1\n   MaskCodor     = 0x\x00"
                            "0FFF\nEns = 0\nEnd\n",
                            130)},
        BagText{"PropertyNamedEnd", "Begin VistaButton Knop(4)\n   End= 1\nEnd\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredControlsRoundTrip, PropertyNamedBeginIsAProperty) {
    const auto controls = ParseStoredControls("Begin VistaButton Knop(4)\n   Begin         = 1\nEnd\n");
    ASSERT_EQ(controls.size(), 1u);
    ASSERT_NE(controls[0].bag.Find("Begin"), nullptr);
    EXPECT_EQ(controls[0].bag.Find("Begin")->tokens, (std::vector<BagToken>{{"1", false}}));
}

}  // namespace
}  // namespace tunekist::test
