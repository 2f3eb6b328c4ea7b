// The progress bar's pixels as the real window shows them.
#include <QImage>

#include "platform/qt/qt_label.h"
#include "playback/progress_bar.h"
#include "tests/support/player_window.h"

namespace tunekist::test {
namespace {

const QColor kGreen(100, 200, 50);
const QColor kBackground(30, 0, 0);

// Bars shown one after the other (and then erased, when asked), and what the window shows after.
struct BarCase {
    const char* name;
    std::vector<std::pair<double, std::int32_t>> fills;  // BarX, Grootte
    bool reset;
    int topRow;  // the first green row; 200 for none
    const char* caption;
};

void PrintTo(const BarCase& barCase, std::ostream* out) { *out << barCase.name; }

class BarPixelsTest : public QuietWindowTest, public ::testing::WithParamInterface<BarCase> {};

// Columns 0 to 41 fill from the bottom up; 42 to 45 stay background.
TEST_P(BarPixelsTest, FillsColumnsZeroToFortyOneFromTheBottomUp) {
    QtLabel barLabel(*window->BarLabel);
    for (const auto& [BarX, Grootte] : GetParam().fills) ShowBar(BarX, Grootte, *window->Bar, barLabel);
    if (GetParam().reset) window->Bar->ResetPicture();
    const QImage image = window->Bar->grab().toImage();
    ASSERT_EQ(image.size(), QSize(46, 200));
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor expected = (x <= 41 && y >= GetParam().topRow) ? kGreen : kBackground;
            if (image.pixelColor(x, y) != expected) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(window->BarLabel->text(), GetParam().caption);
}

// A lower fill paints over the earlier one without erasing it; only a reset erases.
INSTANTIATE_TEST_SUITE_P(Percentages, BarPixelsTest,
                         ::testing::Values(BarCase{"Zero", {{0.004, 100}}, false, 197, "0%"},
                                           BarCase{"Half", {{90.0, 180}}, false, 97, "50%"},
                                           BarCase{"Full", {{180.0, 180}}, false, 0, "100%"},
                                           BarCase{"EarlierFillStaysUnderALowerOne", {{90.0, 180}, {45.0, 180}},
                                                   false, 97, "25%"},
                                           BarCase{"ResetErasesTheBar", {{90.0, 180}}, true, 200, "50%"},
                                           // 100 x BarX is rounded half to even, then divided truncating.
                                           BarCase{"HalfPercentRoundsToEven", {{0.025, 1}}, false, 193, "2%"},
                                           BarCase{"RoundedThenTruncated", {{199.0, 200}}, false, 0, "99%"},
                                           BarCase{"NoLengthKeepsTheLastFill", {{37.0, 100}, {5.0, 0}}, false, 123,
                                                   "37%"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
