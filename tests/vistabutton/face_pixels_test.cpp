// Pixels of rendered button faces, checked against the faces the control promises.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

// A channel of a linear gradient from `top` on row `y1` toward `bottom` on row `y2`; interiors
// may differ from the exact value by one step.
void ExpectGradientPixel(ColorValue actual, ColorValue top, ColorValue bottom, int y, int y1, int y2) {
    const auto channel = [&](auto of) {
        return of(top) + (static_cast<double>(of(bottom)) - of(top)) * (y - y1) / (y2 - y1);
    };
    const auto near = [](double expected, int value) { return std::abs(expected - value) <= 1.0; };
    EXPECT_TRUE(near(channel(RedOf), RedOf(actual)) && near(channel(GreenOf), GreenOf(actual)) &&
                near(channel(BlueOf), BlueOf(actual)))
        << "row " << y << ": " << Rgb(actual);
    if (y == y1) {
        EXPECT_EQ(actual, top) << "first row of a band is its top colour exactly";
    }
}

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

TEST(FacePixels, NormalFaceOf75By25MatchesEveryNamedRowAndColumn) {
    HostedButton hosted(75, 25);
    const QImage face = hosted.Rendered();
    const auto at = [&](int x, int y) { return FromPixel(face.pixel(x, y)); };
    for (int x = 2; x <= 72; ++x) {
        for (int y = 2; y <= 10; ++y) {
            if ((x == 2 || x == 72) && y == 2) continue;  // corner shading
            ExpectGradientPixel(at(x, y), RGB(242, 242, 242), RGB(235, 235, 235), y, 2, 11);
        }
        for (int y = 11; y <= 22; ++y) {
            if ((x == 2 || x == 72) && y == 22) continue;
            ExpectGradientPixel(at(x, y), RGB(221, 221, 221), RGB(207, 207, 207), y, 11, 23);
        }
    }
    for (const int x : {1, 73}) {
        for (int y = 4; y <= 10; ++y) ExpectGradientPixel(at(x, y), RGB(251, 251, 251), RGB(250, 250, 250), y, 3, 11);
        for (int y = 11; y <= 21; ++y) ExpectGradientPixel(at(x, y), RGB(246, 246, 246), RGB(243, 243, 243), y, 11, 22);
    }
    for (int x = 3; x <= 71; ++x) {
        EXPECT_EQ(at(x, 0), RGB(112, 112, 112)) << x;
        EXPECT_EQ(at(x, 24), RGB(112, 112, 112)) << x;
        EXPECT_EQ(at(x, 1), RGB(252, 252, 252)) << x;
        EXPECT_EQ(at(x, 23), RGB(243, 243, 243)) << x;
    }
    for (int y = 4; y <= 21; ++y) {
        EXPECT_EQ(at(0, y), RGB(112, 112, 112)) << y;
        EXPECT_EQ(at(74, y), RGB(112, 112, 112)) << y;
    }
}

TEST(FacePixels, NormalCornersFollowTheCornerMapOnBothSides) {
    HostedButton hosted(75, 25);
    const QImage face = hosted.Rendered();
    struct Expected { int x, y; ColorValue color; };
    const Expected left[] = {
        {1, 0, RGB(144, 144, 144)}, {2, 0, RGB(119, 119, 119)}, {0, 1, RGB(135, 136, 136)},
        {1, 1, RGB(145, 145, 145)}, {2, 1, RGB(232, 232, 232)}, {0, 2, RGB(117, 117, 117)},
        {1, 2, RGB(234, 234, 234)}, {2, 2, RGB(250, 250, 250)}, {0, 3, RGB(112, 112, 112)},
        {1, 3, RGB(252, 252, 252)}, {1, 24, RGB(134, 134, 134)}, {2, 24, RGB(117, 117, 117)},
        {0, 23, RGB(136, 136, 136)}, {1, 23, RGB(143, 143, 143)}, {2, 23, RGB(228, 228, 228)},
        {0, 22, RGB(117, 117, 117)}, {1, 22, RGB(226, 226, 226)}, {2, 22, RGB(236, 236, 236)}};
    for (const Expected& e : left) {
        EXPECT_EQ(FromPixel(face.pixel(e.x, e.y)), e.color) << e.x << "," << e.y;
        EXPECT_EQ(FromPixel(face.pixel(74 - e.x, e.y)), e.color) << "mirror of " << e.x << "," << e.y;
    }
}

TEST(FacePixels, FaceOf22PixelsSplitsAtRow10) {
    HostedButton hosted(60, 22);
    const QImage face = hosted.Rendered();
    const auto at = [&](int x, int y) { return FromPixel(face.pixel(x, y)); };
    for (int y = 3; y <= 9; ++y) ExpectGradientPixel(at(30, y), RGB(242, 242, 242), RGB(235, 235, 235), y, 2, 10);
    for (int y = 10; y <= 19; ++y) ExpectGradientPixel(at(30, y), RGB(221, 221, 221), RGB(207, 207, 207), y, 10, 20);
    for (int y = 4; y <= 9; ++y) ExpectGradientPixel(at(1, y), RGB(251, 251, 251), RGB(250, 250, 250), y, 3, 10);
    for (int y = 10; y <= 18; ++y) ExpectGradientPixel(at(58, y), RGB(246, 246, 246), RGB(243, 243, 243), y, 10, 19);
    EXPECT_EQ(at(1, 19), RGB(226, 226, 226)) << "row H-3 of the side is corner shading, not band";
}

TEST(FacePixels, DownFaceHasRowTwoAccentsOnBothSidesAndBottomAccentOnTheLeftOnly) {
    HostedButton hosted(75, 25);
    PutInState(hosted, StateDown);
    const QImage face = hosted.Rendered();
    const auto at = [&](int x, int y) { return FromPixel(face.pixel(x, y)); };
    for (int x = 3; x <= 6; ++x) {
        EXPECT_EQ(at(x, 2), RGB(220, 237, 246)) << x;
        EXPECT_EQ(at(74 - x, 2), RGB(220, 237, 246)) << 74 - x;
        EXPECT_EQ(at(x, 22), RGB(109, 181, 220)) << x;
        EXPECT_EQ(at(74 - x, 22), at(30, 22)) << "no accent on the right at " << 74 - x;
    }
    EXPECT_EQ(at(2, 3), RGB(220, 237, 245));
    EXPECT_EQ(at(72, 3), RGB(220, 237, 245));
    EXPECT_EQ(at(40, 0), RGB(44, 98, 139));
}

TEST(FacePixels, FocusFaceCarriesTheRingAndKeepsItsCornerColours) {
    HostedButton hosted(75, 25);
    PutInState(hosted, StateFocus);
    const QImage face = hosted.Rendered();
    const auto at = [&](int x, int y) { return FromPixel(face.pixel(x, y)); };
    for (int x = 3; x <= 71; ++x) {
        EXPECT_EQ(at(x, 2), RGB(166, 233, 251)) << x;
        EXPECT_EQ(at(x, 22), RGB(132, 213, 239)) << x;
    }
    for (const int x : {2, 72}) {
        for (int y = 3; y <= 10; ++y) ExpectGradientPixel(at(x, y), RGB(165, 232, 251), RGB(161, 230, 249), y, 3, 11);
        for (int y = 11; y <= 21; ++y) ExpectGradientPixel(at(x, y), RGB(146, 222, 245), RGB(133, 213, 240), y, 11, 22);
        EXPECT_EQ(at(x, 2), RGB(107, 223, 253));
        EXPECT_EQ(at(x, 22), RGB(84, 210, 247));
    }
}

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

TEST_P(EveryState, FourOutermostPixelsHoldTheBorderColourButLieOutsideTheOutline) {
    HostedButton hosted(75, 25);
    PutInState(hosted, GetParam());
    const ColorValue border = hosted.button->hDC().Point(40, 0);
    const QRegion outline = hosted.button->mask();
    for (const QPoint corner : {QPoint(0, 0), QPoint(0, 24), QPoint(74, 0), QPoint(74, 24)}) {
        EXPECT_EQ(hosted.button->hDC().Point(corner.x(), corner.y()), border);
        EXPECT_FALSE(outline.contains(corner));
    }
    EXPECT_EQ(outline, QRegion(0, 0, 75, 25) - QRegion(0, 0, 1, 1) - QRegion(0, 24, 1, 1) - QRegion(74, 0, 1, 1) -
                           QRegion(74, 24, 1, 1));
}

INSTANTIATE_TEST_SUITE_P(States, EveryState,
                         ::testing::Values(StateNormal, StateHover, StateDown, StateFocus, StateDisabled));

}  // namespace
}  // namespace tunekist::testing
