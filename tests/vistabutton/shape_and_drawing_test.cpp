// The button's outline, and the caption measuring underneath it.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/drawing/draw_text.h"
#include "tests/vistabutton/button_fixture.h"

namespace tunekist::testing {
namespace {

TEST(Shape, OutlineIsRebuiltOnResize) {
    HostedButton hosted(75, 25);
    hosted.button->resize(76, 25);
    QApplication::processEvents();
    EXPECT_FALSE(hosted.button->mask().contains(QPoint(75, 0)));
    EXPECT_TRUE(hosted.button->mask().contains(QPoint(74, 0)));
}

// Buttons of up to 2 × 2 pixels are all corner: nothing of them is in the outline or can be hit.
class TinyButton : public ::testing::TestWithParam<int> {};

TEST_P(TinyButton, HasAnEmptyOutlineAndCannotBeHit) {
    HostedButton hosted(GetParam(), GetParam());
    if (GetParam() == 0) {
        EXPECT_TRUE(hosted.button->mask().isEmpty());
    }
    for (int x = 0; x < GetParam(); ++x) {
        for (int y = 0; y < GetParam(); ++y) {
            EXPECT_FALSE(hosted.button->mask().contains(QPoint(x, y)));
            EXPECT_NE(QApplication::widgetAt(hosted.button->mapToGlobal(QPoint(x, y))), hosted.button);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyButton, ::testing::Values(0, 1, 2));

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
