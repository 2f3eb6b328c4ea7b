// Where the caption and which picture frame land on rendered buttons, each row's picture placement
// worked out here from the button's size, the caption's measured width and the picture.
#include <gtest/gtest.h>
#include <QFontMetrics>
#include <cmath>

#include "controls/vistabutton/bag_values.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

constexpr QRgb Green = qRgb(0, 255, 0);  // the command buttons' mask colour

// A picture whose every pixel names its own column and row, (100 + x, 100 + y, 77), but for a
// pure green square of half a frame's size in the middle of each frame.
QImage Pixels(int width, int height, int frames) {
    QImage pixels(width, height, QImage::Format_RGB32);
    const int fw = width / frames;
    for (int i = 0; i < width * height; ++i) {
        const int x = i % width, y = i / width;
        const bool middle = std::abs(2 * (x % fw) - fw + 1) < fw / 2 && std::abs(2 * y - height + 1) < height / 2;
        pixels.setPixel(x, y, middle ? Green : qRgb(100 + x, 100 + y, 77));
    }
    return pixels;
}

struct Placement {
    const char* name;
    int W, H;
    const char* caption;
    int pictureWidth, pictureHeight, frames;  // a width of 0: no picture
    bool enabled = true, held = false, mask = true;
    std::int16_t offset = 0;
};

class Placements : public ::testing::TestWithParam<Placement> {};

// The group (picture, a 5-pixel gap, the caption) is centred and cut to the inner area 3 pixels
// in from every side; a cut on the left pins the picture to it and left-aligns the caption.
// Returns the caption's bounding box.
QRect ExpectPlaced(const Placement& p, const QImage& face, bool held, const QImage& picture) {
    QFont font("Arial");
    font.setPointSizeF(8.25);
    font.setStyleStrategy(QFont::NoAntialias);
    const QImage screen = NewScreenImage(1, 1);
    const int TW = QFontMetrics(font, &screen).horizontalAdvance(p.caption);
    const double FW = p.pictureWidth / static_cast<double>(p.frames);
    double X = *p.caption ? (p.W - TW - FW - 5) / 2 : (p.W - FW) / 2;
    int Y = static_cast<int>(std::nearbyint((p.H - p.pictureHeight) / 2.0)) + (held ? p.offset : 0);
    X += held ? p.offset : 0;
    const double cutRight = std::min(0.0, p.W - 3 - X - FW);
    const double cutLeft = std::max(0.0, 3 - X), cutTop = std::max(0, 3 - Y);
    const int cutBottom = std::min(0, p.H - 3 - Y - p.pictureHeight);
    const int frame = p.frames > 1 && !p.enabled ? 1 : p.frames == 3 && held ? 2 : 0;
    const QRect drawn(static_cast<int>(std::nearbyint(std::max(X, 3.0))), std::max(Y, 3),
                      static_cast<int>(std::nearbyint(FW - cutLeft + cutRight)), p.pictureHeight - cutTop + cutBottom);
    const QPoint source(static_cast<int>(std::nearbyint(frame * FW + cutLeft)) - drawn.left(), cutTop - drawn.top());
    // The caption is black, or grey while disabled; a pixel of the picture has blue 77.
    QRect text, otherText;
    for (int i = 0, wrong = 0; i < p.W * p.H; ++i) {
        const QPoint at(i % p.W, i / p.W);
        const QRgb want = p.pictureWidth && drawn.contains(at) ? picture.pixel(source + at) : 0, got = face.pixel(at);
        const bool right = want == Green ? (got == Green) != p.mask : want ? got == want : qBlue(got) != 77;
        EXPECT_TRUE(right || ++wrong > 5) << at.x() << "," << at.y() << ": " << std::hex << got << " not " << want;
        if (got == qRgb(0, 0, 0) || got == qRgb(131, 131, 131))
            (p.enabled == !qRed(got) ? text : otherText) |= QRect(at, at);
    }
    EXPECT_TRUE(otherText.isEmpty());
    EXPECT_EQ(text.isEmpty(), !*p.caption);
    if (!*p.caption) return text;
    const double clip = p.pictureWidth ? std::nearbyint(cutLeft) : 0;
    const double left = p.pictureWidth ? std::nearbyint(FW + 8 - clip) : 3;
    if (clip > 0) {
        EXPECT_GE(text.left(), left);
        EXPECT_LE(text.left(), left + 2) << "left-aligned from the end of the visible picture";
    } else {
        EXPECT_NEAR((text.left() + text.right() + 1) / 2.0, (left + p.W - 3) / 2, 1.5);
    }
    EXPECT_NEAR((text.top() + text.bottom() + 1) / 2.0, p.H / 2.0, 2.0);
    return text;
}

TEST_P(Placements, PutThePictureFrameAndTheCaptionWhereTheGroupFits) {
    const Placement& p = GetParam();
    HostedButton hosted(p.W, p.H);
    const QImage picture = p.pictureWidth ? Pixels(p.pictureWidth, p.pictureHeight, p.frames) : QImage();
    PropertyBag bag = CommandButtonBag(p.caption);
    WritePicture(bag, "Picture", p.pictureWidth ? std::make_shared<const Picture>(picture) : nullptr);
    WriteInteger(bag, "Pictures", static_cast<std::int16_t>(p.frames));
    WriteBoolean(bag, "UseMaskColor", p.mask);
    WriteBoolean(bag, "Enabled", p.enabled);
    WriteInteger(bag, "PictureOffset", p.offset);
    hosted.button->ReadProperties(bag);
    const QRect text = ExpectPlaced(p, hosted.Rendered(), false, picture);
    if (!p.held) return;
    hosted.Do(p.enabled ? "@5,5 press" : "enable @5,5 press disable");  // disabled while held
    EXPECT_EQ(ExpectPlaced(p, hosted.Rendered(), true, picture), text) << "the caption stays while held";
}

// Two frames: the second is the disabled look; three: the third is the pressed look, and a
// disabled button shows its second frame.
INSTANTIATE_TEST_SUITE_P(Rows, Placements,
                         ::testing::ValuesIn(std::vector<Placement>{
                             {"Caption", 75, 25, "Play", 0, 0, 1},
                             {"CaptionDisabled", 75, 25, "Play", 0, 0, 1, false},
                             {"CaptionWrapped", 40, 60, "Play Play Play", 0, 0, 1},
                             {"TwoFrames", 75, 30, "", 40, 20, 2, true, true},
                             {"ThreeFrames", 75, 30, "", 60, 20, 3, true, true},
                             {"ThreeFramesDisabled", 75, 30, "", 60, 20, 3, false, true},
                             {"TwoFramesDisabledWhileHeld", 75, 30, "", 40, 20, 2, false, true, true, 2},
                             {"WithoutMask", 75, 30, "", 40, 20, 2, true, false, false},
                             {"BesideTheCaptionMovedWhileHeld", 90, 30, "Rew", 40, 20, 2, true, true, true, 1},
                             {"BesideTheCaptionMovedWhileHeldOddWidth", 91, 30, "Rew", 40, 20, 2, true, true, true, 1},
                             {"MovedPastTheRightEdgeWhileHeld", 50, 60, "", 40, 20, 1, true, true, true, 10},
                             {"WiderThanTheButton", 50, 30, "Forew", 40, 20, 1},
                             {"TallerThanTheButton", 75, 25, "", 20, 40, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::testing
