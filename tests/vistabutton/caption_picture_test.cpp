// Where the caption and which picture frame land on rendered buttons, held and not: every pixel
// against each row's caption box and picture placement, written out.
#include <gtest/gtest.h>
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

// `drawn` is where the picture shows and `from` the pixel of the picture shown at its top left;
// `held*` are the same once pressed (rows without them are not pressed). The caption's box stays
// put while held.
struct Placement {
    const char* name;
    int W, H;
    const char* caption;
    int pictureWidth, pictureHeight, frames;  // a width of 0: no picture
    QRect text, drawn;
    QPoint from;
    QRect heldDrawn;
    QPoint heldFrom;
    std::int16_t offset = 0;
    bool enabled = true, mask = true;
};

// The group (picture, a 5-pixel gap, the caption) is centred and cut to the inner area 3 pixels
// in from every side; a cut on the left pins the picture to it and left-aligns the caption. Two
// frames: the second is the disabled look; three: the third is the pressed look, and a disabled
// button shows its second frame.
const Placement kRows[] = {
    {"Caption", 75, 25, "Play", 0, 0, 1, {28, 8, 20, 10}},
    {"CaptionDisabled", 75, 25, "Play", 0, 0, 1, {28, 8, 20, 10}, {}, {}, {}, {}, 0, false},
    {"CaptionWrapped", 40, 60, "Play Play Play", 0, 0, 1, {10, 14, 20, 34}},
    {"TwoFrames", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {0, 0}, {28, 5, 20, 20}, {0, 0}},
    {"ThreeFrames", 75, 30, "", 60, 20, 3, {}, {28, 5, 20, 20}, {0, 0}, {28, 5, 20, 20}, {40, 0}},
    {"ThreeFramesDisabled", 75, 30, "", 60, 20, 3, {}, {28, 5, 20, 20}, {20, 0}, {28, 5, 20, 20}, {20, 0}, 0, false},
    {"DisabledWhileHeld", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {20, 0}, {30, 7, 20, 20}, {20, 0}, 2, false},
    {"WithoutMask", 75, 30, "", 40, 20, 2, {}, {28, 5, 20, 20}, {0, 0}, {}, {}, 0, true, false},
    {"Beside", 90, 30, "Rew", 40, 20, 2, {47, 11, 22, 8}, {22, 5, 20, 20}, {0, 0}, {22, 6, 20, 20}, {0, 0}, 1},
    {"OddWidth", 91, 30, "Rew", 40, 20, 2, {48, 11, 22, 8}, {22, 5, 20, 20}, {0, 0}, {23, 6, 20, 20}, {0, 0}, 1},
    {"PastTheRightEdge", 50, 60, "", 40, 20, 1, {}, {5, 20, 40, 20}, {0, 0}, {15, 30, 32, 20}, {0, 0}, 10},
    {"WiderThanTheButton", 50, 30, "Forew", 40, 20, 1, {33, 11, 14, 8}, {3, 5, 24, 20}, {16, 0}},
    {"TallerThanTheButton", 75, 25, "", 20, 40, 1, {}, {28, 3, 20, 19}, {0, 11}}};

class Placements : public ::testing::TestWithParam<Placement> {};

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
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held" : "not held");
        if (held && p.heldDrawn.isNull()) break;
        if (held) hosted.Do(p.enabled ? "@5,5 press" : "enable @5,5 press disable");  // disabled while held
        const QRect drawn = held ? p.heldDrawn : p.drawn;
        const QPoint shift = (held ? p.heldFrom : p.from) - drawn.topLeft();
        const QImage face = hosted.Rendered();
        // The caption is black, or grey while disabled; a pixel of the picture has blue 77.
        QRect text, otherText;
        for (int i = 0, wrong = 0; i < p.W * p.H; ++i) {
            const QPoint at(i % p.W, i / p.W);
            const QRgb want = drawn.contains(at) ? picture.pixel(at + shift) : 0;
            const QRgb got = face.pixel(at);
            const bool right = want == Green ? (got == Green) != p.mask : want ? got == want : qBlue(got) != 77;
            EXPECT_TRUE(right || ++wrong > 5) << at.x() << "," << at.y() << ": " << std::hex << got << " not " << want;
            if (got == qRgb(0, 0, 0) || got == qRgb(131, 131, 131))
                (p.enabled == !qRed(got) ? text : otherText) |= QRect(at, at);
        }
        EXPECT_TRUE(otherText.isEmpty());
        EXPECT_EQ(text, p.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Placements, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::testing
