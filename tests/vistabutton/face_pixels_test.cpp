// Pixels of rendered button faces, checked against worked examples of the faces the control promises.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

// A block of pixels that follows a vertical gradient from `top` on row `y1` toward `bottom` on
// row `y2` (a solid colour when the two are equal); interiors may differ by one step per channel.
// A mirrored block holds on both sides of the face.
struct Block {
    int x0, x1, y0, y1;
    ColorValue top, bottom;
    int gradientY1, gradientY2;
    bool mirrored;
};

Block Solid(int x0, int x1, int y0, int y1, ColorValue color, bool mirrored = true) {
    return {x0, x1, y0, y1, color, color, y0, y0 + 1, mirrored};
}
Block Pixel(int x, int y, ColorValue color) { return Solid(x, x, y, y, color); }
Block Gradient(int x0, int x1, int y0, int y1, ColorValue top, ColorValue bottom, int gy1, int gy2,
               bool mirrored = true) {
    return {x0, x1, y0, y1, top, bottom, gy1, gy2, mirrored};
}

struct FaceCase {
    const char* name;
    int width, height;
    std::int32_t state;
    std::vector<Block> blocks;
};

void PrintTo(const FaceCase& c, std::ostream* out) { *out << c.name; }

void PutInState(HostedButton& hosted, std::int32_t state) {
    switch (state) {
        case StateHover: hosted.PointAt(QPoint(30, 12)); break;
        case StateDown: QTest::mousePress(hosted.button, Qt::LeftButton, {}, QPoint(30, 12)); break;
        case StateFocus: hosted.button->setFocus(); break;
        case StateDisabled: hosted.button->SetEnabled(false); break;
        default: break;
    }
    ASSERT_EQ(hosted.button->Fields().ButtonState, state);
}

void ExpectBlock(const QImage& face, const Block& b, int x) {
    const auto near = [&](auto of, int y, int actual) {
        const double expected =
            of(b.top) + (static_cast<double>(of(b.bottom)) - of(b.top)) * (y - b.gradientY1) / (b.gradientY2 - b.gradientY1);
        return std::abs(expected - actual) <= 1.0;
    };
    for (int y = b.y0; y <= b.y1; ++y) {
        const ColorValue actual = FromPixel(face.pixel(x, y));
        if (b.top == b.bottom || y == b.gradientY1) {
            EXPECT_EQ(actual, b.top) << x << "," << y << ": " << Rgb(actual);
        } else {
            EXPECT_TRUE(near(RedOf, y, RedOf(actual)) && near(GreenOf, y, GreenOf(actual)) &&
                        near(BlueOf, y, BlueOf(actual)))
                << x << "," << y << ": " << Rgb(actual);
        }
    }
}

class FacePixels : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FacePixels, MatchTheWorkedFaceAndOnlyTheCornerPixelsFallOutsideTheOutline) {
    const FaceCase& c = GetParam();
    HostedButton hosted;  // resized to the case's size, so the outline is seen to follow a resize
    hosted.button->resize(c.width, c.height);
    QApplication::processEvents();
    PutInState(hosted, c.state);
    const QImage face = hosted.Rendered();
    for (const Block& block : c.blocks) {
        for (int x = block.x0; x <= block.x1; ++x) {
            ExpectBlock(face, block, x);
            if (block.mirrored) ExpectBlock(face, block, c.width - 1 - x);
        }
    }
    // The outermost pixels are painted in the border colour, but the window shows through them.
    const int w = c.width - 1, h = c.height - 1;
    const ColorValue border = hosted.button->hDC().Point(w / 2, 0);
    for (const QPoint corner : {QPoint(0, 0), QPoint(0, h), QPoint(w, 0), QPoint(w, h)}) {
        EXPECT_EQ(hosted.button->hDC().Point(corner.x(), corner.y()), border);
    }
    EXPECT_EQ(hosted.button->mask(), QRegion(0, 0, c.width, c.height) - QRegion(0, 0, 1, 1) - QRegion(0, h, 1, 1) -
                                         QRegion(w, 0, 1, 1) - QRegion(w, h, 1, 1));
}

const ColorValue Grey112 = RGB(112, 112, 112);

// Each face is split at row H / 2.2: a 25-pixel face at row 11, a 22-pixel face at row 10.
INSTANTIATE_TEST_SUITE_P(Faces, FacePixels, ::testing::Values(
    FaceCase{"Normal75x25", 75, 25, StateNormal, {
        Gradient(3, 37, 2, 10, RGB(242, 242, 242), RGB(235, 235, 235), 2, 11),
        Gradient(2, 2, 3, 10, RGB(242, 242, 242), RGB(235, 235, 235), 2, 11),
        Gradient(3, 37, 11, 22, RGB(221, 221, 221), RGB(207, 207, 207), 11, 23),
        Gradient(2, 2, 11, 21, RGB(221, 221, 221), RGB(207, 207, 207), 11, 23),
        Gradient(1, 1, 4, 10, RGB(251, 251, 251), RGB(250, 250, 250), 3, 11),
        Gradient(1, 1, 11, 21, RGB(246, 246, 246), RGB(243, 243, 243), 11, 22),
        Solid(3, 37, 0, 0, Grey112), Solid(3, 37, 24, 24, Grey112), Solid(0, 0, 4, 21, Grey112),
        Solid(3, 37, 1, 1, RGB(252, 252, 252)), Solid(3, 37, 23, 23, RGB(243, 243, 243)),
        // The corner shading, the same on both sides.
        Pixel(1, 0, RGB(144, 144, 144)), Pixel(2, 0, RGB(119, 119, 119)), Pixel(0, 1, RGB(135, 136, 136)),
        Pixel(1, 1, RGB(145, 145, 145)), Pixel(2, 1, RGB(232, 232, 232)), Pixel(0, 2, RGB(117, 117, 117)),
        Pixel(1, 2, RGB(234, 234, 234)), Pixel(2, 2, RGB(250, 250, 250)), Pixel(0, 3, Grey112),
        Pixel(1, 3, RGB(252, 252, 252)), Pixel(1, 24, RGB(134, 134, 134)), Pixel(2, 24, RGB(117, 117, 117)),
        Pixel(0, 23, RGB(136, 136, 136)), Pixel(1, 23, RGB(143, 143, 143)), Pixel(2, 23, RGB(228, 228, 228)),
        Pixel(0, 22, RGB(117, 117, 117)), Pixel(1, 22, RGB(226, 226, 226)), Pixel(2, 22, RGB(236, 236, 236))}},
    FaceCase{"Normal60x22", 60, 22, StateNormal, {
        Gradient(3, 29, 3, 9, RGB(242, 242, 242), RGB(235, 235, 235), 2, 10),
        Gradient(3, 29, 10, 19, RGB(221, 221, 221), RGB(207, 207, 207), 10, 20),
        Gradient(1, 1, 4, 9, RGB(251, 251, 251), RGB(250, 250, 250), 3, 10),
        Gradient(1, 1, 10, 18, RGB(246, 246, 246), RGB(243, 243, 243), 10, 19),
        Pixel(1, 19, RGB(226, 226, 226))}},  // row H - 3 of the side is corner shading, not band
    FaceCase{"Hover75x25", 75, 25, StateHover, {
        Solid(3, 37, 0, 0, RGB(60, 127, 177)), Solid(3, 37, 1, 1, RGB(250, 253, 254)),
        Gradient(3, 37, 2, 10, RGB(234, 246, 253), RGB(217, 240, 252), 2, 11)}},
    // The pressed face has accents on row 2 on both sides, and at the bottom on the left only.
    FaceCase{"Down75x25", 75, 25, StateDown, {
        Solid(3, 6, 2, 2, RGB(220, 237, 246)), Solid(3, 6, 22, 22, RGB(109, 181, 220), false),
        Gradient(68, 71, 22, 22, RGB(152, 209, 239), RGB(104, 179, 219), 11, 23, false),
        Pixel(2, 3, RGB(220, 237, 245)), Solid(3, 37, 0, 0, RGB(44, 98, 139))}},
    FaceCase{"Focus75x25", 75, 25, StateFocus, {
        Solid(3, 37, 2, 2, RGB(166, 233, 251)), Solid(3, 37, 22, 22, RGB(132, 213, 239)),
        Gradient(2, 2, 3, 10, RGB(165, 232, 251), RGB(161, 230, 249), 3, 11),
        Gradient(2, 2, 11, 21, RGB(146, 222, 245), RGB(133, 213, 240), 11, 22),
        Pixel(2, 2, RGB(107, 223, 253)), Pixel(2, 22, RGB(84, 210, 247))}},
    FaceCase{"Disabled75x25", 75, 25, StateDisabled, {
        Solid(3, 37, 0, 0, RGB(173, 178, 181)), Solid(3, 37, 2, 22, RGB(244, 244, 244))}}),
    [](const auto& info) { return std::string(info.param.name); });

class EveryState : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(EveryState, NoBackgroundClearsOnlyTheQuietStates) {
    QImage painted;
    {
        HostedButton reference(75, 25);
        PutInState(reference, GetParam());
        painted = reference.Rendered();
    }
    HostedButton plain(75, 25);
    plain.button->SetNoBackground(true);
    PutInState(plain, GetParam());
    const QImage face = plain.Rendered();
    const bool quiet = GetParam() == StateNormal || GetParam() == StateFocus || GetParam() == StateDisabled;
    if (quiet) {
        QImage white(face.size(), QImage::Format_RGB32);
        white.fill(qRgb(255, 255, 255));
        EXPECT_EQ(face, white);
    } else {
        EXPECT_EQ(face, painted);
    }
}

INSTANTIATE_TEST_SUITE_P(States, EveryState,
                         ::testing::Values(StateNormal, StateHover, StateDown, StateFocus, StateDisabled));

// Buttons of up to 2 x 2 pixels are all corner: nothing of them is in the outline or can be hit.
class TinyButton : public ::testing::TestWithParam<int> {};

TEST_P(TinyButton, HasAnEmptyOutlineAndCannotBeHit) {
    HostedButton hosted(GetParam(), GetParam());
    EXPECT_TRUE(GetParam() > 0 || hosted.button->mask().isEmpty());
    for (int x = 0; x < GetParam(); ++x) {
        for (int y = 0; y < GetParam(); ++y) {
            EXPECT_FALSE(hosted.button->mask().contains(QPoint(x, y)));
            EXPECT_NE(QApplication::widgetAt(hosted.button->mapToGlobal(QPoint(x, y))), hosted.button);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyButton, ::testing::Values(0, 1, 2));

}  // namespace
}  // namespace tunekist::testing
