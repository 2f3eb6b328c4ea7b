// The stored form of buttons: what a button writes after it was placed, loaded or set, and the
// text form of property bags read from arbitrary bytes.
#include <gtest/gtest.h>
#include <QWidget>
#include <sstream>

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

// A newly placed button (no stored text), and buttons loaded from bags missing keys: each writes
// back all eleven keys in their order, here their values in that order. Only a placed button's
// font family is checked: a loaded one keeps the platform's default font.
struct Loaded {
    const char* name;
    const char* stored;
    const char* values;
    ColorValue border;  // the top edge's colour, which tells the look shown
};

class Loading : public ::testing::TestWithParam<Loaded> {};

TEST_P(Loading, WritesBackEveryKeyAndShowsItsState) {
    const Loaded& l = GetParam();
    VistaButton button;
    button.setObjectName(QStringLiteral("VistaButton1"));
    button.resize(75, 25);
    l.stored ? button.ReadProperties(ParseStoredControls(l.stored).front().bag) : button.InitProperties();
    std::string stored = "Begin VistaButton Knop(0)\n";
    std::istringstream values(l.values);
    for (std::string value; const char* key : {"Caption", "ForeColor", "Font", "Picture", "Pictures", "UseMaskColor",
                                               "MaskColor", "Enabled", "NoBackground", "BackColor", "PictureOffset"})
        stored += key + (" = " + (values >> value, value)) + "\n";
    const std::string family = l.stored ? "*" : button.Font().family().toStdString();
    EXPECT_EQ(Written(button, family.c_str()), FormatStoredControls(ParseStoredControls(stored + "End\n")));
    EXPECT_EQ(button.hDC().Point(40, 0), l.border);
}

// A stored frame count is taken as it is unless below one; keys are matched in any case; a
// missing BackColor is the system's button face and a missing Enabled is False, painted so.
const Loaded kLoaded[] = {
    {"NewlyPlaced", nullptr, "\"VistaButton1\" 0x00000000 Arial None 2 -1 0x0000FF00 -1 0 0x00FFFFFF 0",
     RGB(112, 112, 112)},
    {"OnlyACaption", "Begin B b\n caption = \"Play\"\nEnd\n",
     "\"Play\" 0x00000000 * None 1 0 0x00000000 0 0 0x8000000F 0", RGB(173, 178, 181)},
    {"OddCountsAnyCase", "Begin B b\n PICTURES = 3\n enabled = 5\n pictureoffset = -2\nEnd\n",
     "\"\" 0x00000000 * None 3 0 0x00000000 -1 0 0x8000000F -2", RGB(112, 112, 112)},
    {"NoFrames", "Begin B b\n Pictures = -4\n Enabled = -1\n NoBackground = -1\n BackColor = 0x00123456\nEnd\n",
     "\"\" 0x00000000 * None 1 0 0x00000000 -1 -1 0x00123456 0", 0x00123456}};

INSTANTIATE_TEST_SUITE_P(Bags, Loading, ::testing::ValuesIn(kLoaded),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Persistence, WrittenBagReadBackRestoresEveryPropertyAndTheLook) {
    HostedButton original(80, 30), restored(80, 30);
    VistaButton& a = *original.button;
    QImage pixels(30, 10, QImage::Format_RGB32);
    for (int i = 0; i < 300; ++i) pixels.setPixel(i % 30, i / 30, qRgb(i % 30 * 8, i / 30 * 20, 99));
    QFont font("Liberation Serif", 12, QFont::Bold, true);
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
    restored.button->ReadProperties(ParseStoredControls(Written(a)).front().bag);
    EXPECT_EQ(restored.Rendered(), original.Rendered());
    EXPECT_EQ(Written(*restored.button), Written(a));
}

// Every command button of the window holds exactly its stored design values.
TEST(StoredDesign, WindowButtonsLoadWithTheirCaptionsAndSharedValues) {
    QWidget window;
    const CommandButtons buttons = CreateCommandButtons(window);
    const char* captions[] = {"Play", "Pauze", "Rew", "Forew", "Next", "Stop", "Exit"};
    for (std::size_t i = 0; i < 7; ++i) {
        const VistaButton& button = i < buttons.Knop.size() ? *buttons.Knop[i] : *buttons.ExitKnop;
        EXPECT_EQ(Written(button), FormatStoredControls(ParseStoredControls(CommandButtonText(captions[i])))) << i;
    }
}

// Stored texts: refused with a bag error (as controls or as values), or read, written back as
// `formatted` ("": in whatever form) and read back unchanged from that. Some were found by our
// fuzzers. A property named Begin was once written padded ("Begin         = 1") and read back as
// the start of a control inside a control.
TEST(StoredTexts, AreRefusedOrWrittenBackInTheirOneForm) {
    std::istringstream refused(
        "Caption = \"x\"\n|Begin VistaButton\nEnd\n|Begin VistaButton b\n|End\n|Begin T b\nBegin T c\nEnd\n|"
        "Begin T b(x)\nEnd\n|Begin T b(1\nEnd\n|Begin T b\n s = \"open\nEnd\n|Begin T b\n s = \"bad \\q\"\nEnd\n|"
        "Begin T b\n no value\nEnd\n|Begin T b\n i = 40000\nEnd\n|Begin T b\n i = 12x\nEnd\n|"
        "Begin T b\n i = \"12\"\nEnd\n|Begin T b\n s = bare\nEnd\n|Begin T b\n c = 0x100000000\nEnd\n|"
        "Begin T b\n i = -\nEnd\n|Begin T b\n l = 2147483648\nEnd\n|Begin T b\n b@d = 1\nEnd\n|"
        "Begin T b\n s = \"a\"\"b\"\nEnd\n|Begin T b\n s = \"ends in \\");
    for (std::string text; std::getline(refused, text, '|');) {
        const auto readEverything = [&] {
            for (const StoredControl& c : ParseStoredControls(text))
                ReadString(c.bag, "s", ""), ReadInteger(c.bag, "i", 0), ReadColor(c.bag, "c", 0),
                    ReadLong(c.bag, "l", 0);
        };
        EXPECT_THROW(readEverything(), PropertyBagError) << text;
    }
    const std::pair<std::string, const char*> kept[] = {
        {"# a note\n\nBegin T b(7)\n\ts = \"q\\\" b\\\\ n\\n r\\r t\\t\"\n c = 0x8000000F\n i = -32768\n"
         " l = -2147483648\n F = \"Arial\" 8.25\nEnd\nBegin T c\nEnd\n",
         "Begin T b(7)\n   s             = \"q\\\" b\\\\ n\\n r\\r t\\t\"\n   c             = 0x8000000F\n"
         "   i             = -32768\n   l             = -2147483648\n   F             = \"Arial\" 8.25\nEnd\n"
         "Begin T c\nEnd\n"},
        {"Begin VistaButton Knop(4)\n   Begin= 1\nEnd\n", "Begin VistaButton Knop(4)\n   Begin         = 1\nEnd\n"},
        {std::string("Begin VistaButton Knop(4)\n   Caption       = Fo0FF00\n   Begin= Fo0   Picture  \n"
                     "seMor  = -1\n   MaskCodor     = 0x\x00"
                     "0FFF\nEns = 0\nEnd\n",
                     130),
         ""},
        {"Begin VistaButton Knop(4)\n   End= 1\nEnd\n", ""}};
    for (const auto& [text, expected] : kept) {
        const std::vector<StoredControl> controls = ParseStoredControls(text);
        const std::string formatted = FormatStoredControls(controls);
        EXPECT_TRUE(!*expected || formatted == expected) << formatted;
        EXPECT_EQ(ParseStoredControls(formatted), controls);
    }
}

}  // namespace
}  // namespace tunekist::testing
