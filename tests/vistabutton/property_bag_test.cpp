// The text form of property bags, read from arbitrary bytes.
#include <gtest/gtest.h>

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
}

TEST(PropertyBagText, BooleansAreMinusOneAndZeroAndAnyOtherNumberIsTrue) {
    const PropertyBag bag =
        ParseStoredControls("Begin T n\n a = -1\n b = 0\n c = 1\nEnd\n").front().bag;
    EXPECT_TRUE(ReadBoolean(bag, "a", false));
    EXPECT_FALSE(ReadBoolean(bag, "b", true));
    EXPECT_TRUE(ReadBoolean(bag, "c", false));
    PropertyBag written;
    WriteBoolean(written, "x", true);
    EXPECT_EQ(written.Find("x")->tokens.front().text, "-1");
}

class MalformedBag : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedBag, IsRefusedWithABagError) {
    const auto read = [] {
        for (const StoredControl& control : ParseStoredControls(GetParam())) {
            ReadString(control.bag, "s", "");
            ReadInteger(control.bag, "i", 0);
            ReadColor(control.bag, "c", 0);
        }
    };
    EXPECT_THROW(read(), PropertyBagError);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedBag,
    ::testing::Values("Caption = \"x\"\n", "Begin VistaButton\nEnd\n", "Begin VistaButton b\n", "End\n",
                      "Begin T b\nBegin T c\nEnd\n", "Begin T b(x)\nEnd\n", "Begin T b(1\nEnd\n",
                      "Begin T b\n s = \"open\nEnd\n", "Begin T b\n s = \"bad \\q\"\nEnd\n",
                      "Begin T b\n no value\nEnd\n", "Begin T b\n i = 40000\nEnd\n", "Begin T b\n i = 12x\nEnd\n",
                      "Begin T b\n i = \"12\"\nEnd\n", "Begin T b\n s = bare\nEnd\n",
                      "Begin T b\n c = 0x100000000\nEnd\n", "Begin T b\n i = -\nEnd\n",
                      "Begin T b\n b@d = 1\nEnd\n", "Begin T b\n s = \"a\"\"b\"\nEnd\n", "Begin T b\n s = \"ends in \\"));

}  // namespace
}  // namespace tunekist
