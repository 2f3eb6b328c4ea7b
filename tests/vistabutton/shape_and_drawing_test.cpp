// The button's outline and the drawing operations underneath it.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/drawing/draw_text.h"
#include "platform/drawing/gradient_fill.h"
#include "platform/drawing/memory_dc.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

TEST(Shape, OutlineFollowsTheSizeOnlyAndIsRebuiltOnResize) {
    HostedButton hosted(75, 25);
    hosted.button->SetCaption(QStringLiteral("Stop"));
    hosted.button->SetForeColor(0x000000FF);
    EXPECT_EQ(hosted.button->Fields().LastWidth, 75);
    hosted.button->resize(76, 25);
    QApplication::processEvents();
    EXPECT_EQ(hosted.button->Fields().LastWidth, 76);
    EXPECT_FALSE(hosted.button->mask().contains(QPoint(75, 0)));
    EXPECT_TRUE(hosted.button->mask().contains(QPoint(74, 0)));
}

// Buttons of up to 2 × 2 pixels are all corner: nothing of them is in the outline or can be hit.
class TinyButton : public ::testing::TestWithParam<int> {};

TEST_P(TinyButton, HasAnEmptyOutlineAndCannotBeHit) {
    HostedButton hosted(GetParam(), GetParam());
    if (GetParam() == 0) EXPECT_TRUE(hosted.button->mask().isEmpty());
    for (int x = 0; x < GetParam(); ++x) {
        for (int y = 0; y < GetParam(); ++y) {
            EXPECT_FALSE(hosted.button->mask().contains(QPoint(x, y)));
            EXPECT_NE(QApplication::widgetAt(hosted.button->mapToGlobal(QPoint(x, y))), hosted.button);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyButton, ::testing::Values(0, 1, 2));

TEST(Drawing, VerticalGradientLeavesOutRightAndBottomEdgesInEitherCornerOrder) {
    Canvas dc;
    dc.Resize(6, 6, RGB(1, 2, 3));
    const TRIVERTEX vertices[2] = {{4, 1, 100 * 256, 0, 0, 0}, {1, 5, 200 * 256, 0, 0, 0}};
    const GRADIENT_RECT rect{0, 1};
    ASSERT_TRUE(GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(dc.Point(1, 1), RGB(100, 0, 0));
    EXPECT_EQ(dc.Point(3, 1), RGB(100, 0, 0));
    EXPECT_EQ(dc.Point(2, 3), RGB(150, 0, 0));
    EXPECT_EQ(dc.Point(4, 2), RGB(1, 2, 3));
    EXPECT_EQ(dc.Point(2, 5), RGB(1, 2, 3));
    EXPECT_EQ(dc.Point(0, 2), RGB(1, 2, 3));
    const GRADIENT_RECT outside{0, 2};
    EXPECT_FALSE(GradientFill(dc, vertices, 2, &outside, 1, GRADIENT_FILL_RECT_V));
}

TEST(Drawing, TransparentBlitSkipsTheMaskColourAndRefusesStretching) {
    QImage pixels(2, 1, QImage::Format_RGB32);
    pixels.setPixel(0, 0, qRgb(0, 255, 0));
    pixels.setPixel(1, 0, qRgb(7, 8, 9));
    Canvas dc;
    dc.Resize(3, 1, RGB(1, 1, 1));
    const std::unique_ptr<MemoryDC> source = CreateCompatibleDC(dc);
    DeleteObject(SelectObject(*source, Bitmap(pixels)));
    EXPECT_FALSE(TransparentBlt(dc, 0, 0, 2, 1, *source, 0, 0, 1, 1, 0x0000FF00));
    EXPECT_TRUE(TransparentBlt(dc, 0, 0, 2, 1, *source, 0, 0, 2, 1, 0x0000FF00));
    EXPECT_EQ(dc.Point(0, 0), RGB(1, 1, 1));
    EXPECT_EQ(dc.Point(1, 0), RGB(7, 8, 9));
    EXPECT_TRUE(BitBlt(dc, 1, 0, 2, 1, *source, 0, 0, SRCCOPY));
    EXPECT_EQ(dc.Point(1, 0), RGB(0, 255, 0));
}

TEST(Drawing, MeasuringWrapsAtWordsAndDrawsNothing) {
    Canvas dc;
    dc.Resize(40, 60, RGB(255, 255, 255));
    QFont font("Arial");
    font.setPointSizeF(8.25);
    dc.SetFont(font);
    RECT one{0, 0, 40, 60};
    const int oneLine = DrawTextA(dc, "Play", one, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT two{0, 0, 40, 60};  // "Play Play" is wider than 40 pixels, "Play" is not
    const int twoLines = DrawTextA(dc, "Play Play Play", two, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    EXPECT_GT(oneLine, 0);
    EXPECT_EQ(twoLines, 3 * oneLine);
    EXPECT_EQ(one.bottom, oneLine);
    EXPECT_LE(two.right, 40);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 40; ++x) ASSERT_EQ(dc.Point(x, y), RGB(255, 255, 255));
    }
}

}  // namespace
}  // namespace tunekist::testing
