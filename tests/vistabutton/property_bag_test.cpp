// The text form of property bags, read from arbitrary bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/vistabutton/property_bag.h"

namespace tunekist {
namespace {

TEST(PropertyBagText, FormattedControlsReadBackUnchanged) {
    PropertyBag bag;
    WriteString(bag, "Caption", "a \"quoted\" \\ line\nand\ttab");
    WriteColor(bag, "BackColor", 0x8000000F);
    WriteLong(bag, "Big", -2147483647 - 1);
    WriteInteger(bag, "PictureOffset", -32768);
    WriteBoolean(bag, "Enabled", true);
    bag.Write("Font", {BagToken{"Arial", true}, BagToken{"8.25", false}});
    const std::vector<StoredControl> controls = {StoredControl{"VistaButton", "ExitKnop", std::nullopt, bag},
                                                 StoredControl{"VistaButton", "Knop", 5, PropertyBag()}};
    EXPECT_EQ(ParseStoredControls(FormatStoredControls(controls)), controls);
    EXPECT_EQ(ReadColor(bag, "backcolor", 0), 0x8000000FU);
    EXPECT_EQ(ReadLong(bag, "BIG", 0), -2147483647 - 1);
    EXPECT_EQ(ReadBoolean(bag, "Enabled", false), true);
    EXPECT_EQ(ReadInteger(bag, "Missing", 7), 7);
    // True is written -1; read back, any number but 0 is true.
    EXPECT_EQ(bag.Find("Enabled")->tokens.front().text, "-1");
    const PropertyBag read = ParseStoredControls("Begin T n\n a = 1\n b = 0\nEnd\n").front().bag;
    EXPECT_TRUE(ReadBoolean(read, "a", false));
    EXPECT_FALSE(ReadBoolean(read, "b", true));
}

// Stored texts that are refused with a bag error, and texts our fuzzers found to break the reader,
// which must now be refused or read back unchanged once written.
struct StoredText {
    const char* text;
    std::size_t size;
    bool refused;
};

class StoredTexts : public ::testing::TestWithParam<StoredText> {};

TEST_P(StoredTexts, AreRefusedWithABagErrorOrReadBackWhatWasWritten) {
    const std::string text(GetParam().text, GetParam().size ? GetParam().size : std::strlen(GetParam().text));
    std::vector<StoredControl> controls;
    try {
        controls = ParseStoredControls(text);
        for (const StoredControl& control : controls) {
            ReadString(control.bag, "s", "");
            ReadInteger(control.bag, "i", 0);
            ReadColor(control.bag, "c", 0);
        }
    } catch (const PropertyBagError&) {
        return;
    }
    EXPECT_FALSE(GetParam().refused);
    EXPECT_EQ(ParseStoredControls(FormatStoredControls(controls)), controls);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredTexts,
    ::testing::Values(
        StoredText{"Caption = \"x\"\n", 0, true}, StoredText{"Begin VistaButton\nEnd\n", 0, true},
        StoredText{"Begin VistaButton b\n", 0, true}, StoredText{"End\n", 0, true},
        StoredText{"Begin T b\nBegin T c\nEnd\n", 0, true}, StoredText{"Begin T b(x)\nEnd\n", 0, true},
        StoredText{"Begin T b(1\nEnd\n", 0, true}, StoredText{"Begin T b\n s = \"open\nEnd\n", 0, true},
        StoredText{"Begin T b\n s = \"bad \\q\"\nEnd\n", 0, true}, StoredText{"Begin T b\n no value\nEnd\n", 0, true},
        StoredText{"Begin T b\n i = 40000\nEnd\n", 0, true}, StoredText{"Begin T b\n i = 12x\nEnd\n", 0, true},
        StoredText{"Begin T b\n i = \"12\"\nEnd\n", 0, true}, StoredText{"Begin T b\n s = bare\nEnd\n", 0, true},
        StoredText{"Begin T b\n c = 0x100000000\nEnd\n", 0, true}, StoredText{"Begin T b\n i = -\nEnd\n", 0, true},
        StoredText{"Begin T b\n b@d = 1\nEnd\n", 0, true}, StoredText{"Begin T b\n s = \"a\"\"b\"\nEnd\n", 0, true},
        StoredText{"Begin T b\n s = \"ends in \\", 0, true},
        // A property named Begin was written padded ("Begin         = 1") and read back as the
        // start of a control inside a control.
        StoredText{"Begin VistaButton Knop(4)\n   Begin= 1\nEnd\n", 0, false},
        StoredText{"Begin VistaButton Knop(4)\n   Caption       = Fo0FF00\n   Begin= Fo0   Picture  \n"
                   "seMor  = -1\n   MaskCodor     = 0x\x00"
                   "0FFF\nEns = 0\nEnd\n", 130, false},
        StoredText{"Begin VistaButton Knop(4)\n   End= 1\nEnd\n", 0, false}));

}  // namespace
}  // namespace tunekist
