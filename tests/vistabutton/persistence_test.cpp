// Saving and restoring a button's properties through its property bag.
#include <gtest/gtest.h>

#include "controls/vistabutton/bag_values.h"
#include "controls/vistabutton/command_buttons.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

PropertyBag Without(const PropertyBag& bag, const std::string& key) {
    PropertyBag kept;
    for (const BagProperty& property : bag.Properties()) {
        if (property.key != key) kept.Write(property.key, property.tokens);
    }
    return kept;
}

TEST(Persistence, WrittenBagReadBackRestoresEveryProperty) {
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
    a.SetCaption(QString::fromUtf8("Zet \"aan\"\\nu\nwéér"));
    a.SetForeColor(0x00123456);
    a.SetFont(font);
    a.SetPicture(std::make_shared<const Picture>(pixels));
    a.SetPictures(2);
    a.SetUseMaskColor(false);
    a.SetMaskColor(0x00FF00FF);
    a.SetEnabled(false);
    a.SetNoBackground(true);
    a.SetBackColor(0x00ABCDEF);
    a.SetPictureOffset(2);

    PropertyBag written;
    a.WriteProperties(written);
    const std::string text = FormatStoredControls({StoredControl{"VistaButton", "Knop", 3, written}});
    const PropertyBag read = ParseStoredControls(text).front().bag;

    HostedButton restored(80, 30);
    VistaButton& b = *restored.button;
    b.ReadProperties(read);
    // Every property read back writes back the same; the picture keeps its pixels.
    ASSERT_TRUE(b.Picture());
    EXPECT_EQ(b.Picture()->Handle().Pixels(), pixels);
    EXPECT_EQ(b.Fields().ButtonState, StateDisabled);
    EXPECT_EQ(restored.Rendered(), original.Rendered());

    PropertyBag rewritten;
    b.WriteProperties(rewritten);
    EXPECT_EQ(rewritten, written);
}

TEST(Persistence, NewlyPlacedInstanceTakesItsNameAndTheDefaults) {
    VistaButton button;
    button.setObjectName(QStringLiteral("VistaButton1"));
    button.InitProperties();
    EXPECT_EQ(button.Caption(), QStringLiteral("VistaButton1"));
    EXPECT_EQ(button.ForeColor(), 0U);
    EXPECT_EQ(button.Font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(button.Pictures(), 2);
    EXPECT_TRUE(button.UseMaskColor());
    EXPECT_EQ(button.MaskColor(), 0x0000FF00U);
    EXPECT_TRUE(button.Enabled());
    EXPECT_EQ(button.BackColor(), 0x00FFFFFFU);
    EXPECT_FALSE(button.Picture());
}

// A missing BackColor is the system's button face; a missing Enabled is False, painted so.
TEST(Persistence, MissingKeysTakeTheirDefaults) {
    VistaButton button;
    button.resize(75, 25);
    button.ReadProperties(Without(Without(CommandButtonBag("Play"), "BackColor"), "Enabled"));
    EXPECT_EQ(button.BackColor(), 0x8000000FU);
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(button.Fields().ButtonState, StateDisabled);
    EXPECT_EQ(button.hDC().Point(40, 0), RGB(173, 178, 181));
}

// A stored frame count is taken as it is unless below one; the property keeps to one or two.
struct FrameCount {
    std::int16_t given;
    std::int16_t fromBag;
    std::int16_t fromProperty;
};

void PrintTo(const FrameCount& c, std::ostream* out) { *out << c.given; }

class Pictures : public ::testing::TestWithParam<FrameCount> {};

TEST_P(Pictures, FromTheBagAreUncheckedExceptBelowOneAndThePropertyStaysWithinOneToTwo) {
    PropertyBag bag = CommandButtonBag("Play");
    WriteInteger(bag, "Pictures", GetParam().given);
    VistaButton button;
    button.ReadProperties(bag);
    EXPECT_EQ(button.Pictures(), GetParam().fromBag);
    button.SetPictures(GetParam().given);
    EXPECT_EQ(button.Pictures(), GetParam().fromProperty);
}

INSTANTIATE_TEST_SUITE_P(Counts, Pictures,
                         ::testing::Values(FrameCount{-4, 1, 1}, FrameCount{0, 1, 1}, FrameCount{1, 1, 1},
                                           FrameCount{2, 2, 2}, FrameCount{3, 3, 2}));

// Every command button of the window holds exactly its stored design values, and writes all
// eleven keys in their order, a missing picture included.
TEST(StoredDesign, WindowButtonsLoadWithTheirCaptionsAndSharedValues) {
    QWidget window;
    const CommandButtons buttons = CreateCommandButtons(window);
    std::vector<VistaButton*> all(buttons.Knop.begin(), buttons.Knop.end());
    all.push_back(buttons.ExitKnop);
    const char* captions[] = {"Play", "Pauze", "Rew", "Forew", "Next", "Stop", "Exit"};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->parent(), &window);
        PropertyBag written;
        all[i]->WriteProperties(written);
        EXPECT_EQ(written, CommandButtonBag(captions[i])) << captions[i];
    }
    EXPECT_EQ(buttons.Knop[4]->objectName(), QStringLiteral("Knop(4)"));
}

}  // namespace
}  // namespace tunekist::testing
