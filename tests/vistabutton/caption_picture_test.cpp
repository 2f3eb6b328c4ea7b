// Placement of the caption and the picture frames on rendered buttons.
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/vistabutton/bag_values.h"
#include "platform/drawing/draw_text.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Blue = qRgb(0, 0, 255);
constexpr QRgb Yellow = qRgb(255, 255, 0);
constexpr QRgb Green = qRgb(0, 255, 0);

// A picture of `frames` solid frames side by side, each frameWidth × height with a pure green
// (the mask colour) square of half its size in its middle.
PictureObject SolidFrames(int frames, int frameWidth, int height) {
    QImage pixels(frames * frameWidth, height, QImage::Format_RGB32);
    const QRgb colours[] = {Red, Blue, Yellow};
    for (int x = 0; x < pixels.width(); ++x) {
        for (int y = 0; y < height; ++y) {
            const bool middle = std::abs(2 * (x % frameWidth) - frameWidth + 1) < frameWidth / 2 &&
                                std::abs(2 * y - height + 1) < height / 2;
            pixels.setPixel(x, y, middle ? Green : colours[x / frameWidth]);
        }
    }
    return std::make_shared<const Picture>(pixels);
}

// A picture whose every pixel names its own column and row: (10 + 5 x, 10 + 5 y, 77).
PictureObject Ramp(int width, int height) {
    QImage pixels(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) pixels.setPixel(x, y, qRgb(10 + 5 * x, 10 + 5 * y, 77));
    }
    return std::make_shared<const Picture>(pixels);
}

// Loads the button from a bag holding this picture and frame count, as stored design data does.
void LoadPicture(HostedButton& hosted, const std::string& caption, const PictureObject& picture, std::int16_t frames) {
    PropertyBag bag = CommandButtonBag(caption);
    WritePicture(bag, "Picture", picture);
    WriteInteger(bag, "Pictures", frames);
    hosted.button->ReadProperties(bag);
}

// The bounding box of the pixels of exactly `colour`.
QRect BoxOf(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int TextWidth(const QString& text) {
    QFont font("Arial");
    font.setPointSizeF(8.25);
    font.setStyleStrategy(QFont::NoAntialias);
    QImage screen = NewScreenImage(1, 1);
    return QFontMetrics(font, &screen).horizontalAdvance(text);
}

TEST(Caption, WithoutPictureIsCentredInTheInnerAreaAndGreyWhenDisabled) {
    HostedButton hosted(75, 25, "Play");
    const QRect text = BoxOf(hosted.Rendered(), qRgb(0, 0, 0));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR((text.left() + text.right() + 1) / 2.0, 37.5, 1.5);
    EXPECT_NEAR((text.top() + text.bottom() + 1) / 2.0, 12.5, 2.0);
    hosted.button->SetEnabled(false);
    const QImage face = hosted.Rendered();
    EXPECT_EQ(BoxOf(face, qRgb(131, 131, 131)), text);
    EXPECT_TRUE(BoxOf(face, qRgb(0, 0, 0)).isEmpty());
}

struct FrameCase {
    const char* name;
    int frames;
    bool enabled;
    bool heldDown;
    QRgb shown;
    bool useMask = true;
};

void PrintTo(const FrameCase& c, std::ostream* out) { *out << c.name; }

class PictureFrames : public ::testing::TestWithParam<FrameCase> {};

// A 75 × 30 button with an empty caption centres a 20 × 20 frame at (27.5 → 28, 5); its pure
// green shows the face through only when the mask colour is used.
TEST_P(PictureFrames, OneFrameShowsCentredAndTheOthersNot) {
    const FrameCase& c = GetParam();
    HostedButton hosted(75, 30);
    LoadPicture(hosted, "", SolidFrames(c.frames, 20, 20), static_cast<std::int16_t>(c.frames));
    hosted.button->SetUseMaskColor(c.useMask);
    hosted.button->SetEnabled(c.enabled);
    if (c.heldDown) {
        QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(5, 5));
    }
    const QImage face = hosted.Rendered();
    EXPECT_EQ(BoxOf(face, c.shown), QRect(28, 5, 20, 20));
    EXPECT_EQ(BoxOf(face, Green), c.useMask ? QRect() : QRect(33, 10, 10, 10));
    for (const QRgb other : {Red, Blue, Yellow}) {
        if (other != c.shown) {
            EXPECT_TRUE(BoxOf(face, other).isEmpty());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, PictureFrames,
    ::testing::Values(FrameCase{"TwoEnabled", 2, true, false, Red}, FrameCase{"TwoDisabled", 2, false, false, Blue},
                      FrameCase{"TwoHeld", 2, true, true, Red}, FrameCase{"ThreeEnabled", 3, true, false, Red},
                      FrameCase{"ThreeDisabled", 3, false, false, Blue}, FrameCase{"ThreeHeld", 3, true, true, Yellow},
                      FrameCase{"TwoWithoutMask", 2, true, false, Red, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Picture, OffsetMovesThePictureWhileHeldButNotTheCaption) {
    // A width that makes the group's left edge whole, so no half is rounded to even.
    const int width = 90 + (90 - TextWidth("Rew") - 25) % 2;
    HostedButton hosted(width, 30);
    LoadPicture(hosted, "Rew", SolidFrames(2, 20, 20), 2);
    hosted.button->SetPictureOffset(1);
    const QImage up = hosted.Rendered();
    QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage down = hosted.Rendered();
    EXPECT_EQ(BoxOf(down, Red), BoxOf(up, Red).translated(1, 1));
    EXPECT_EQ(BoxOf(down, qRgb(0, 0, 0)), BoxOf(up, qRgb(0, 0, 0)));
    // The group (picture, 5-pixel gap, text) is centred: X = (W - TW - FW - 5) / 2.
    EXPECT_EQ(BoxOf(up, Red).left(), (width - TextWidth("Rew") - 20 - 5) / 2);
}

TEST(Picture, GroupWiderThanTheButtonPinsThePictureAndLeftAlignsTheCaption) {
    HostedButton hosted(50, 30);
    LoadPicture(hosted, "Forew", Ramp(40, 20), 1);
    const QImage face = hosted.Rendered();
    const double x = (50 - TextWidth("Forew") - 40 - 5) / 2.0;
    ASSERT_LT(x, 3);
    const int cut = static_cast<int>(std::nearbyint(3 - x));
    EXPECT_EQ(face.pixel(3, 5) & 0xFFFFFF, qRgb(10 + 5 * cut, 10, 77) & 0xFFFFFF) << "cut " << cut;
    const QRect text = BoxOf(face, qRgb(0, 0, 0));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 40 + 8 - cut);
    EXPECT_LE(text.left(), 40 + 8 - cut + 2) << "left-aligned from the end of the visible picture";
}

TEST(Picture, TallerThanTheButtonIsCutToTheInnerArea) {
    HostedButton hosted(75, 25);
    LoadPicture(hosted, "", Ramp(20, 40), 1);
    const QImage face = hosted.Rendered();
    // Y = (25 - 40) / 2 = -7.5 → -8: the top 11 rows and the bottom 10 rows are cut.
    EXPECT_EQ(face.pixel(30, 3) & 0xFFFFFF, qRgb(10 + 5 * 2, 10 + 5 * 11, 77) & 0xFFFFFF);
    EXPECT_EQ(face.pixel(30, 21) & 0xFFFFFF, qRgb(10 + 5 * 2, 10 + 5 * 29, 77) & 0xFFFFFF);
    EXPECT_NE(face.pixel(30, 22) & 0xFFFFFF, qRgb(10 + 5 * 2, 10 + 5 * 30, 77) & 0xFFFFFF);
    EXPECT_NE(face.pixel(30, 2) & 0xFFFFFF, qRgb(10 + 5 * 2, 10 + 5 * 10, 77) & 0xFFFFFF);
}

// Measuring a caption wraps it at words and draws nothing.
TEST(Caption, MeasuringWrapsAtWordsAndDrawsNothing) {
    Canvas dc;
    dc.Resize(40, 60, RGB(255, 255, 255));
    QFont font("Arial");
    font.setPointSizeF(8.25);
    dc.SetFont(font);
    RECT one{0, 0, 40, 60}, three{0, 0, 40, 60};  // "Play Play" is wider than 40 pixels, "Play" is not
    const int oneLine = DrawTextA(dc, "Play", one, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    EXPECT_GT(oneLine, 0);
    EXPECT_EQ(DrawTextA(dc, "Play Play Play", three, DT_CALCRECT | DT_WORDBREAK | DT_CENTER), 3 * oneLine);
    EXPECT_EQ(one.bottom, oneLine);
    EXPECT_LE(three.right, 40);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 40; ++x) ASSERT_EQ(dc.Point(x, y), RGB(255, 255, 255));
    }
}

}  // namespace
}  // namespace tunekist::testing
