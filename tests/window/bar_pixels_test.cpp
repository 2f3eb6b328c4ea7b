// The progress bar's pixels as the real window shows them.
#include <QImage>

#include "platform/qt/qt_label.h"
#include "playback/progress_bar.h"
#include "tests/window/window_fixture.h"

namespace tunekist::test {
namespace {

const QColor kGreen(100, 200, 50);
const QColor kBackground(30, 0, 0);

struct BarCase {
    const char* name;
    double BarX;
    std::int32_t Grootte;
    int topRow;  // the first green row
    const char* caption;
};

void PrintTo(const BarCase& barCase, std::ostream* out) { *out << barCase.name; }

class BarPixelsTest : public WindowTest, public ::testing::WithParamInterface<BarCase> {
protected:
    void SetUp() override { Show(); }

    void ShowBarOnWindow(double BarX, std::int32_t Grootte) {
        QtLabel barLabel(*window->BarLabel);
        ShowBar(BarX, Grootte, *window->Bar, barLabel);
    }

    // The bar as it appears on the screen.
    QImage Rendered() const { return window->Bar->grab().toImage(); }

    // Counts the pixels that differ from a bar filled from `topRow` down (no fill: topRow 200).
    static int Mismatches(const QImage& image, int topRow) {
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor expected = (x <= 41 && y >= topRow) ? kGreen : kBackground;
                if (image.pixelColor(x, y) != expected) ++wrong;
            }
        }
        return wrong;
    }
};

TEST_P(BarPixelsTest, FillsColumnsZeroToFortyOneFromTheBottomUp) {
    ShowBarOnWindow(GetParam().BarX, GetParam().Grootte);
    const QImage image = Rendered();
    ASSERT_EQ(image.size(), QSize(46, 200));
    EXPECT_EQ(image.pixelColor(0, 199), kGreen);
    EXPECT_EQ(image.pixelColor(41, GetParam().topRow), kGreen);
    EXPECT_EQ(image.pixelColor(42, 199), kBackground);
    if (GetParam().topRow > 0) {
        EXPECT_EQ(image.pixelColor(0, GetParam().topRow - 1), kBackground);
    }
    EXPECT_EQ(Mismatches(image, GetParam().topRow), 0);
    EXPECT_EQ(window->BarLabel->text(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Percentages, BarPixelsTest,
                         ::testing::Values(BarCase{"Zero", 0.004, 100, 197, "0%"},
                                           BarCase{"Half", 90.0, 180, 97, "50%"},
                                           BarCase{"Full", 180.0, 180, 0, "100%"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BarPixelsTest, ResetErasesTheBar) {
    ShowBarOnWindow(90.0, 180);
    window->Bar->ResetPicture();
    EXPECT_EQ(Mismatches(Rendered(), 200), 0);
}

TEST_F(BarPixelsTest, EarlierFillStaysUnderALowerOne) {
    ShowBarOnWindow(90.0, 180);
    ShowBarOnWindow(45.0, 180);
    EXPECT_EQ(Mismatches(Rendered(), 97), 0);
    EXPECT_EQ(window->BarLabel->text(), "25%");
}

}  // namespace
}  // namespace tunekist::test
