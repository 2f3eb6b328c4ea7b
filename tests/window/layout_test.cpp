// The layout pass on the real window: every control's pixels for an outer size, given while a
// song plays and the window is minimised; the captions the program set survive the resize.
#include <QFontMetrics>
#include <QTreeWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

// A control's pixels within its container; a size of -1 is not the layout's (a label's follows
// its caption, the drive list's height its font). A right-aligned label's x is where `anchor`
// would start: its right edge stays there whatever its caption.
struct Placement {
    const char* name;
    QRect pixels;
    const char* anchor = nullptr;
};

struct LayoutCase {
    const char* name;
    QSize asked;  // the outer size asked for; the window keeps the smallest it can lay out
    QSize outer;
    std::optional<std::array<int, 3>> songColumns;  // both song lists' column widths
    std::vector<Placement> placements;
};

// Twips (15 to the pixel, W = 15 w) become pixels rounded to the nearest, halves away from zero.
const LayoutCase kCases[] = {
    {"OddWidth1201x733", {1201, 733}, {1201, 733}, std::array{347, 74, 74}, {  // LW1 = 7815: 5210, 1116.4
         {"ListView1", {40, 245, 521, 409}},  // (600, 3675) W/2 - 1200 = 7807.5 x H - 4860 = 6135
         {"MiddenPic", {568, 40, 66, 615}},   // W/2 - 495 = 8512.5; MH = H - 1770 = 9225
         {"VolSlider", {9, 10, 46, 200}}, {"Label4", {12, 212, -1, -1}},
         {"Bar", {9, 405, 46, 200}},          // MH - 3150
         {"BarLabel", {24, 388, -1, -1}},     // MH - 3405
         {"ListView2", {641, 40, 521, 527}},  // W/2 + 600 = 9607.5, H - 3090
         {"KopPic", {641, 573, 521, 30}},     // H - 2400
         {"Label3", {5, 3, -1, -1}}, {"TijdLabel", {475, 3, -1, -1}, "00:00"},  // KW - 690 = 7125
         // left W/2 + 600 + 930 i, top H - 1830, 900 x 630
         {"Knop(0)", {641, 611, 60, 42}}, {"Knop(1)", {703, 611, 60, 42}}, {"Knop(2)", {765, 611, 60, 42}},
         {"Knop(3)", {827, 611, 60, 42}}, {"Knop(4)", {889, 611, 60, 42}}, {"Knop(5)", {951, 611, 60, 42}},
         {"ExitKnop", {1099, 611, 60, 42}},   // W - 1530
         {"Drive1", {41, 40, 261, -1}}, {"Dir1", {41, 70, 261, 168}},  // LW1 / 2 = 3907.5 wide
         {"Pic1", {311, 40, 250, 198}},       // LW1 / 2 + 750, LW1 / 2 - 165
         {"MenuPic", {40, 663, 1121, 30}},    // H - 1050, W - 1200
         {"Label1", {6, 4, -1, -1}}, {"Label2", {347, 4, -1, -1}},  // LW1 / 1.5
         {"Label5", {1047, 4, -1, -1}, "00:00:00"},                // MW - 1110 = 15705
     }},
    // The columns keep the header's least width here.
    {"SmallestWindow3060x4860", {50, 50}, {204, 324}, std::nullopt, {
         {"ListView1", {40, 245, 22, 0}},     // the first size to reach zero
         {"MiddenPic", {69, 40, 66, 206}}, {"VolSlider", {9, 10, 46, 200}},
         {"Bar", {9, -4, 46, 200}},           // MH - 3150 = -60: above the strip's top
         {"BarLabel", {24, -21, -1, -1}},
         {"ListView2", {142, 40, 22, 118}}, {"KopPic", {142, 164, 22, 30}},
         {"TijdLabel", {-24, 3, -1, -1}, "00:00"},
         {"Knop(0)", {142, 202, 60, 42}}, {"Knop(5)", {452, 202, 60, 42}}, {"ExitKnop", {102, 202, 60, 42}},
         {"Drive1", {41, 40, 11, -1}}, {"Dir1", {41, 70, 11, 168}},
         {"Pic1", {61, 40, 0, 198}},          // the logo has no width left
         {"MenuPic", {40, 254, 124, 30}},
         {"Label2", {15, 4, -1, -1}}, {"Label5", {50, 4, -1, -1}, "00:00:00"},
     }},
};

void PrintTo(const LayoutCase& layoutCase, std::ostream* out) { *out << layoutCase.name; }

class LayoutTest : public QuietWindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PlacesEveryControlFromTheOuterSizeAndKeepsTheCaptions) {
    const LayoutCase& layout = GetParam();
    const auto Captions = [&] {
        std::vector<std::string> texts;
        for (const QLabel* label : std::initializer_list<const QLabel*>{
                 window->Label3, window->TijdLabel, window->BarLabel, window->Label1, window->Label2, window->Label5}) {
            texts.push_back(Text(label));
        }
        return texts;
    };
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Play song", "00:00", "0%", "0 Songs", "Totaal : 00:00:00",
                                                    "Totaal : 00:00:00"}));
    Queue("Zomeravond", CachedTone(10.0, 440));
    Press(kPlay);
    Press(kPauze);
    program().state.GraphPosition->put_CurrentPosition(5.0);
    Tick();

    // Minimised, the window waits with its layout until it is shown again.
    const QRect songList = window->ListView1->geometry();
    window->setWindowState(Qt::WindowMinimized);
    ResizeTo(layout.asked.width(), layout.asked.height());
    window->Form_Resize();
    EXPECT_EQ(window->ListView1->geometry(), songList);
    window->setWindowState(Qt::WindowNoState);
    window->Form_Resize();
    ASSERT_EQ(window->frameGeometry().size(), layout.outer);

    for (const Placement& placement : layout.placements) {
        SCOPED_TRACE(placement.name);
        const auto* control = window->findChild<QWidget*>(placement.name);
        ASSERT_NE(control, nullptr);
        const QRect actual = control->geometry();
        const QRect& expected = placement.pixels;
        if (placement.anchor) {
            EXPECT_EQ(actual.right() + 1, expected.x() + control->fontMetrics().horizontalAdvance(placement.anchor));
        } else {
            EXPECT_EQ(actual.x(), expected.x());
        }
        EXPECT_EQ(actual.y(), expected.y());
        EXPECT_EQ(actual.width(), expected.width() < 0 ? actual.width() : expected.width());
        EXPECT_EQ(actual.height(), expected.height() < 0 ? actual.height() : expected.height());
    }
    for (const QTreeWidget* view : {window->ListView1, window->ListView2}) {
        const std::array widths{view->columnWidth(0), view->columnWidth(1), view->columnWidth(2)};
        EXPECT_EQ(widths, layout.songColumns.value_or(widths)) << view->objectName().toStdString();
    }
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Zomeravond", "00:05", "50%", "1 Songs", "Totaal : 00:00:10",
                                                    "Totaal : 00:00:10"}));

    // A longer time grows to the left of where the short one started.
    const QRect time = window->TijdLabel->geometry();
    SetLabelCaption(*window->TijdLabel, "1:02:03");
    EXPECT_EQ(window->TijdLabel->geometry().right(), time.right());
    EXPECT_LT(window->TijdLabel->x(), time.x());
}

INSTANTIATE_TEST_SUITE_P(OuterSizes, LayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunekist::test
