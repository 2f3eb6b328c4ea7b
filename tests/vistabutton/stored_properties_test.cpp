// The stored form of buttons: what a button writes after it was placed, loaded or set, and the
// text form of property bags read from arbitrary bytes.
#include <QWidget>
#include <gtest/gtest.h>

#include "controls/vistabutton/bag_values.h"
#include "controls/vistabutton/command_buttons.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

// What a button writes, as stored text; `font` stands in for the Font line's value when given.
std::string Written(const VistaButton& button, const char* font = nullptr) {
    PropertyBag bag;
    button.WriteProperties(bag);
    if (font) bag.Write("Font", {BagToken{font, false}});
    return FormatStoredControls({StoredControl{"VistaButton", "Knop", 0, bag}});
}

std::string Stored(const char* lines) { return FormatStoredControls(ParseStoredControls(
    std::string("Begin VistaButton Knop(0)\n").append(lines).append("End\n"))); }

// A newly placed button, and buttons loaded from bags missing keys: each written back with all
// eleven keys in their order. Only a placed button's font family is checked: a loaded one keeps
// the platform's default font.
struct Loaded {
    const char* name;
    const char* stored;  // nullptr: a newly placed button named VistaButton1
    const char* written;
    std::int32_t state;
    ColorValue border;
};

void PrintTo(const Loaded& l, std::ostream* out) { *out << l.name; }

class Loading : public ::testing::TestWithParam<Loaded> {};

TEST_P(Loading, WritesBackEveryKeyAndShowsItsState) {
    const Loaded& l = GetParam();
    VistaButton button;
    button.setObjectName(QStringLiteral("VistaButton1"));
    button.resize(75, 25);
    l.stored ? button.ReadProperties(ParseStoredControls(l.stored).front().bag) : button.InitProperties();
    const std::string family = l.stored ? "*" : button.Font().family().toStdString();
    EXPECT_EQ(Written(button, family.c_str()), Stored(l.written));
    EXPECT_EQ(button.Fields().ButtonState, l.state);
    EXPECT_EQ(button.hDC().Point(40, 0), l.border);
}

// A stored frame count is taken as it is unless below one; keys are matched in any case; a
// missing BackColor is the system's button face and a missing Enabled is False, painted so.
INSTANTIATE_TEST_SUITE_P(Bags, Loading, ::testing::Values(
    Loaded{"NewlyPlaced", nullptr,
           "   Caption       = \"VistaButton1\"\n   ForeColor     = 0x00000000\n   Font          = Arial\n"
           "   Picture       = None\n   Pictures      = 2\n   UseMaskColor  = -1\n   MaskColor     = 0x0000FF00\n"
           "   Enabled       = -1\n   NoBackground  = 0\n   BackColor     = 0x00FFFFFF\n   PictureOffset = 0\n",
           StateNormal, RGB(112, 112, 112)},
    Loaded{"OnlyACaption", "Begin VistaButton Knop(0)\n caption = \"Play\"\nEnd\n",
           "   Caption       = \"Play\"\n   ForeColor     = 0x00000000\n   Font          = *\n"
           "   Picture       = None\n   Pictures      = 1\n   UseMaskColor  = 0\n   MaskColor     = 0x00000000\n"
           "   Enabled       = 0\n   NoBackground  = 0\n   BackColor     = 0x8000000F\n   PictureOffset = 0\n",
           StateDisabled, RGB(173, 178, 181)},
    Loaded{"OddCountsAnyCase", "Begin VistaButton Knop(0)\n PICTURES = 3\n enabled = 5\n pictureoffset = -2\nEnd\n",
           "   Caption       = \"\"\n   ForeColor     = 0x00000000\n   Font          = *\n"
           "   Picture       = None\n   Pictures      = 3\n   UseMaskColor  = 0\n   MaskColor     = 0x00000000\n"
           "   Enabled       = -1\n   NoBackground  = 0\n   BackColor     = 0x8000000F\n   PictureOffset = -2\n",
           StateNormal, RGB(112, 112, 112)},
    Loaded{"NoFrames", "Begin VistaButton Knop(0)\n Pictures = -4\n Enabled = -1\n NoBackground = -1\n"
           " BackColor = 0x00123456\nEnd\n",
           "   Caption       = \"\"\n   ForeColor     = 0x00000000\n   Font          = *\n"
           "   Picture       = None\n   Pictures      = 1\n   UseMaskColor  = 0\n   MaskColor     = 0x00000000\n"
           "   Enabled       = -1\n   NoBackground  = -1\n   BackColor     = 0x00123456\n   PictureOffset = 0\n",
           StateNormal, 0x00123456}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Persistence, WrittenBagReadBackRestoresEveryPropertyAndTheLook) {
    HostedButton original(80, 30);
    VistaButton& a = *original.button;
    QImage pixels(30, 10, QImage::Format_RGB32);
    for (int x = 0; x < 30; ++x) {
        for (int y = 0; y < 10; ++y) pixels.setPixel(x, y, qRgb(x * 8, y * 20, 99));
    }
    QFont font("Liberation Serif");
    font.setPointSizeF(12);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    a.SetCaption(QString::fromUtf8("Zet \"aan\"\\nu\nwéér\r\t"));
    a.SetForeColor(0x00123456);
    a.SetFont(font);
    a.SetPicture(std::make_shared<const Picture>(pixels));
    a.SetUseMaskColor(false);
    a.SetMaskColor(0x00FF00FF);
    a.SetEnabled(false);
    a.SetNoBackground(true);
    a.SetBackColor(0x00ABCDEF);
    a.SetPictureOffset(2);
    for (const auto& [given, kept] : {std::pair{-4, 1}, {0, 1}, {3, 2}, {1, 1}, {2, 2}}) {
        a.SetPictures(static_cast<std::int16_t>(given));  // the property keeps to one or two frames
        EXPECT_EQ(a.Pictures(), kept);
    }
    HostedButton restored(80, 30);
    VistaButton& b = *restored.button;
    b.ReadProperties(ParseStoredControls(Written(a)).front().bag);
    ASSERT_TRUE(b.Picture());
    EXPECT_EQ(b.Picture()->Handle().Pixels(), pixels);
    EXPECT_EQ(b.Caption(), a.Caption());
    EXPECT_EQ(b.Fields().ButtonState, StateDisabled);
    EXPECT_EQ(restored.Rendered(), original.Rendered());
    EXPECT_EQ(Written(b), Written(a));
}

// Every command button of the window holds exactly its stored design values.
TEST(StoredDesign, WindowButtonsLoadWithTheirCaptionsAndSharedValues) {
    QWidget window;
    const CommandButtons buttons = CreateCommandButtons(window);
    std::vector<VistaButton*> all(buttons.Knop.begin(), buttons.Knop.end());
    all.push_back(buttons.ExitKnop);
    const char* captions[] = {"Play", "Pauze", "Rew", "Forew", "Next", "Stop", "Exit"};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->parent(), &window);
        EXPECT_EQ(Written(*all[i]), FormatStoredControls(ParseStoredControls(CommandButtonText(captions[i])))) << i;
    }
    EXPECT_EQ(buttons.Knop[4]->objectName(), QStringLiteral("Knop(4)"));
    EXPECT_EQ(buttons.ExitKnop->objectName(), QStringLiteral("ExitKnop"));
}

// Stored texts: refused with a bag error (nullptr), or read and written back as `formatted`
// (""; the text itself) and read back unchanged from that. Some were found by our fuzzers.
struct StoredText {
    std::string text;
    const char* formatted;
};

class StoredTexts : public ::testing::TestWithParam<StoredText> {};

TEST_P(StoredTexts, AreRefusedOrWrittenBackInTheirOneForm) {
    const StoredText& t = GetParam();
    std::vector<StoredControl> controls;
    try {
        controls = ParseStoredControls(t.text);
        for (const StoredControl& control : controls) {
            ReadString(control.bag, "s", "");
            ReadInteger(control.bag, "i", 0);
            ReadColor(control.bag, "c", 0);
            ReadLong(control.bag, "l", 0);
        }
    } catch (const PropertyBagError&) {
        EXPECT_EQ(t.formatted, nullptr);
        return;
    }
    ASSERT_NE(t.formatted, nullptr);
    const std::string formatted = FormatStoredControls(controls);
    if (*t.formatted) {
        EXPECT_EQ(formatted, t.formatted);
    }
    EXPECT_EQ(ParseStoredControls(formatted), controls);
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredTexts, ::testing::Values(
    StoredText{"Caption = \"x\"\n", nullptr}, StoredText{"Begin VistaButton\nEnd\n", nullptr},
    StoredText{"Begin VistaButton b\n", nullptr}, StoredText{"End\n", nullptr},
    StoredText{"Begin T b\nBegin T c\nEnd\n", nullptr}, StoredText{"Begin T b(x)\nEnd\n", nullptr},
    StoredText{"Begin T b(1\nEnd\n", nullptr}, StoredText{"Begin T b\n s = \"open\nEnd\n", nullptr},
    StoredText{"Begin T b\n s = \"bad \\q\"\nEnd\n", nullptr}, StoredText{"Begin T b\n no value\nEnd\n", nullptr},
    StoredText{"Begin T b\n i = 40000\nEnd\n", nullptr}, StoredText{"Begin T b\n i = 12x\nEnd\n", nullptr},
    StoredText{"Begin T b\n i = \"12\"\nEnd\n", nullptr}, StoredText{"Begin T b\n s = bare\nEnd\n", nullptr},
    StoredText{"Begin T b\n c = 0x100000000\nEnd\n", nullptr}, StoredText{"Begin T b\n i = -\nEnd\n", nullptr},
    StoredText{"Begin T b\n l = 2147483648\nEnd\n", nullptr}, StoredText{"Begin T b\n b@d = 1\nEnd\n", nullptr},
    StoredText{"Begin T b\n s = \"a\"\"b\"\nEnd\n", nullptr}, StoredText{"Begin T b\n s = \"ends in \\", nullptr},
    StoredText{"# a note\n\nBegin T b(7)\n\ts = \"q\\\" b\\\\ n\\n r\\r t\\t\"\n c = 0x8000000F\n"
               "  i = -32768\n  l = -2147483648\n F = \"Arial\" 8.25\nEnd\nBegin T c\nEnd\n",
               "Begin T b(7)\n   s             = \"q\\\" b\\\\ n\\n r\\r t\\t\"\n   c             = 0x8000000F\n"
               "   i             = -32768\n   l             = -2147483648\n   F             = \"Arial\" 8.25\nEnd\n"
               "Begin T c\nEnd\n"},
    // A property named Begin was written padded ("Begin         = 1") and read back as the start
    // of a control inside a control.
    StoredText{"Begin VistaButton Knop(4)\n   Begin= 1\nEnd\n", "Begin VistaButton Knop(4)\n   Begin         = 1\nEnd\n"},
    StoredText{std::string("Begin VistaButton Knop(4)\n   Caption       = Fo0FF00\n   Begin= Fo0   Picture  \n"
                           "seMor  = -1\n   MaskCodor     = 0x\x00"
                           "0FFF\nEns = 0\nEnd\n", 130), ""},
    StoredText{"Begin VistaButton Knop(4)\n   End= 1\nEnd\n", ""}));

// Keys match in any case; True is stored as -1 and any number but 0 reads as True.
TEST(TypedReads, TakeTheStoredValueOrTheFallback) {
    const PropertyBag bag = ParseStoredControls("Begin T n\n BackColor = 0x8000000F\n a = 1\n b = 0\n t = -1\nEnd\n").front().bag;
    EXPECT_EQ(ReadColor(bag, "backcolor", 0), 0x8000000FU);
    EXPECT_TRUE(ReadBoolean(bag, "A", false));
    EXPECT_FALSE(ReadBoolean(bag, "b", true));
    EXPECT_EQ(ReadInteger(bag, "Missing", 7), 7);
    PropertyBag written;
    WriteBoolean(written, "t", true);
    EXPECT_EQ(written.Properties(), (std::vector<BagProperty>{*bag.Find("T")}));
}

}  // namespace
}  // namespace tunekist::testing
