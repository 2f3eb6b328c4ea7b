// The layout pass on the real window: every control's pixels for a given outer size, the resize
// event's outer size, the smallest window, and the captions a resize must keep.
#include <QFontMetrics>
#include <QListWidget>
#include <QTreeWidget>
#include <array>
#include <optional>
#include <string>

#include "platform/qt/qt_label.h"
#include "tests/window/window_fixture.h"

namespace tunekist::test {
namespace {

// A control's expected place in pixels within its container; a size of -1 is not fixed by the
// layout (a label's size follows its caption, the drive list's height its font).
struct Placement {
    const char* name;
    QRect pixels;
};

struct LayoutCase {
    const char* name;
    float W;
    float H;
    std::vector<Placement> placements;
    std::optional<std::array<int, 3>> songColumns;  // the widths of both song lists' columns
};

// Twips become pixels at 15 to one, rounded to the nearest pixel (halves away from zero).
const std::vector<LayoutCase>& LayoutCases() {
    static const std::vector<LayoutCase> cases = {
        {"Window18000x11000", 18000, 11000, {
             {"ListView1", {40, 245, 520, 409}},  // (600, 3675) 7800 x 6140
             {"MiddenPic", {567, 40, 66, 615}},   // (8505, 600) 990 x 9230; MH = 615 px = 9225
             {"VolSlider", {9, 10, 46, 200}}, {"Label4", {12, 212, -1, -1}},
             {"Bar", {9, 405, 46, 200}},          // top MH - 3150 = 6075
             {"BarLabel", {24, 388, -1, -1}},     // top MH - 3405 = 5820
             {"ListView2", {640, 40, 520, 527}},  // (9600, 600) 7800 x 7910
             {"KopPic", {640, 573, 520, 30}},     // (9600, 8600) 7800 x 450
             {"Label3", {5, 3, -1, -1}},
             {"TijdLabel", {474, 3, -1, -1}},     // KW - 690 = 7110, where "00:00" starts
             // left 9600 + 930 i, top 9170, 900 x 630
             {"Knop(0)", {640, 611, 60, 42}}, {"Knop(1)", {702, 611, 60, 42}}, {"Knop(2)", {764, 611, 60, 42}},
             {"Knop(3)", {826, 611, 60, 42}}, {"Knop(4)", {888, 611, 60, 42}}, {"Knop(5)", {950, 611, 60, 42}},
             {"ExitKnop", {1098, 611, 60, 42}},   // (16470, 9170)
             {"Drive1", {41, 40, 260, -1}},       // (615, 600) LW1 / 2 = 3900 wide
             {"Dir1", {41, 70, 260, 168}},
             {"Pic1", {310, 40, 249, 198}},       // (4650, 600) 3735 x 2970
             {"MenuPic", {40, 663, 1120, 30}},    // (600, 9950) 16800 x 450
             {"Label1", {6, 4, -1, -1}},
             {"Label2", {347, 4, -1, -1}},        // LW1 / 1.5 = 5200
         },
         std::array{347, 74, 74}},  // 7800 / 1.5 = 5200 twips; 7800 / 7 = 1114.3 twips
        {"SmallestWindow3060x4860", 3060, 4860, {
             {"ListView1", {40, 245, 22, 0}},     // 330 wide, 0 high: the first size to reach zero
             {"MiddenPic", {69, 40, 66, 206}}, {"VolSlider", {9, 10, 46, 200}},
             {"Bar", {9, -4, 46, 200}},           // MH - 3150 = -60: the bar rises above the strip's top
             {"BarLabel", {24, -21, -1, -1}},
             {"ListView2", {142, 40, 22, 118}}, {"KopPic", {142, 164, 22, 30}},
             {"Knop(0)", {142, 202, 60, 42}}, {"Knop(5)", {452, 202, 60, 42}}, {"ExitKnop", {102, 202, 60, 42}},
             {"Drive1", {41, 40, 11, -1}}, {"Dir1", {41, 70, 11, 168}},
             {"Pic1", {61, 40, 0, 198}},          // LW1 / 2 - 165 = 0: the logo has no width left
             {"MenuPic", {40, 254, 124, 30}},
             {"Label2", {15, 4, -1, -1}},         // 330 / 1.5 = 220 twips = 14.67 px
         },
         std::nullopt},
    };
    return cases;
}

void PrintTo(const LayoutCase& layoutCase, std::ostream* out) { *out << layoutCase.name; }

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PlacesEveryControlInPixels) {
    Show();
    window->Form_Resize(GetParam().W, GetParam().H);
    for (const Placement& placement : GetParam().placements) {
        SCOPED_TRACE(placement.name);
        const auto* control = window->findChild<QWidget*>(placement.name);
        ASSERT_NE(control, nullptr);
        const QRect actual = control->geometry();
        const QRect& expected = placement.pixels;
        EXPECT_EQ(actual.x(), expected.x());
        EXPECT_EQ(actual.y(), expected.y());
        if (expected.width() >= 0) {
            EXPECT_EQ(actual.width(), expected.width());
        }
        if (expected.height() >= 0) {
            EXPECT_EQ(actual.height(), expected.height());
        }
    }
    if (const auto& columns = GetParam().songColumns) {
        for (const QTreeWidget* view : {window->ListView1, window->ListView2}) {
            const std::array widths{view->columnWidth(0), view->columnWidth(1), view->columnWidth(2)};
            EXPECT_EQ(widths, *columns) << view->objectName().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OuterSizes, LayoutTest, ::testing::ValuesIn(LayoutCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, RightAlignedLabelsGrowToTheLeftFromWhereTheirShortCaptionStarts) {
    Show();
    window->Form_Resize(18000, 11000);
    const int timeRight = 474 + window->TijdLabel->fontMetrics().horizontalAdvance("00:00");
    EXPECT_EQ(window->TijdLabel->geometry().right() + 1, timeRight);
    SetLabelCaption(*window->TijdLabel, "1:02:03");
    EXPECT_EQ(window->TijdLabel->geometry().right() + 1, timeRight);
    EXPECT_LT(window->TijdLabel->x(), 474);

    // MW - 1110 = 15690 twips = 1046 px, where "00:00:00" starts; the start-up total is longer.
    const int totalRight = 1046 + window->Label5->fontMetrics().horizontalAdvance("00:00:00");
    EXPECT_EQ(window->Label5->text(), "Totaal : 00:00:00");
    EXPECT_EQ(window->Label5->geometry().right() + 1, totalRight);
    EXPECT_LE(totalRight, window->MenuPic->width());
    EXPECT_GT(window->Label5->x(), window->Label2->geometry().right());
}

// The window stops at the outer size of the smallest worked layout, 3060 x 4860 twips.
TEST_F(WindowTest, WindowCannotShrinkBelowTheSmallestLayout) {
    Show();
    ResizeTo(50, 50);
    EXPECT_EQ(window->frameGeometry().size(), QSize(204, 324));
    EXPECT_EQ(window->ListView1->height(), 0);
    EXPECT_EQ(window->Pic1->width(), 0);
}

TEST_F(WindowTest, FirstLayoutGivesTheLabelsTheirStartUpCaptions) {
    const struct { QLabel* label; const char* before; const char* after; } labels[] = {
        {window->Label3, "Playlabel", "Play song"}, {window->TijdLabel, "Time", "00:00"},
        {window->Label1, "0 Songs", "0 Songs"},     {window->Label2, "Label2", "Totaal : 00:00:00"},
        {window->Label5, "00:00:00", "Totaal : 00:00:00"}};
    for (const auto& l : labels) EXPECT_EQ(l.label->text(), l.before);
    Show();
    for (const auto& l : labels) EXPECT_EQ(l.label->text(), l.after);
}

// A resize lays out from the window's outer size, frame included, but not while minimised, and
// keeps the captions the program has set.
TEST_F(WindowTest, ResizeUsesTheOuterSizeWaitsWhileMinimisedAndKeepsTheCaptions) {
    Show();
    world->SetDuration("/muziek/Zomeravond.mp3", 180.0);
    QtListBox(*window->List1).AddItem("/muziek/Zomeravond.mp3");
    QtListView(*window->ListView2).AddRow("Zomeravond");
    window->program().playlist.ShowPlaylistTotal();
    window->program().Knop_Click(0);
    world->clock.Advance(65.0);
    window->program().PlayTimer_Timer();
    SetLabelCaption(*window->Label1, "12 Songs");
    SetLabelCaption(*window->Label2, "Totaal : 00:41:07");
    ASSERT_TRUE(window->program().state.Playing);

    const QRect songList = window->ListView1->geometry();
    window->setWindowState(Qt::WindowMinimized);
    // 22500 x 13500 twips with the frame, which the offscreen platform makes 2 pixels wide.
    ResizeTo(1500, 900);
    window->Form_Resize();
    EXPECT_EQ(window->ListView1->geometry(), songList);
    window->setWindowState(Qt::WindowNoState);
    window->Form_Resize();
    ASSERT_EQ(window->frameGeometry().size(), QSize(1500, 900));
    ASSERT_NE(window->size(), QSize(1500, 900));
    EXPECT_EQ(window->ListView1->geometry(), QRect(40, 245, 670, 576));
    EXPECT_EQ(window->ListView2->geometry(), QRect(790, 40, 670, 694));
    EXPECT_EQ(window->ExitKnop->geometry(), QRect(1398, 778, 60, 42));
    EXPECT_EQ(window->MenuPic->geometry(), QRect(40, 830, 1420, 30));
    EXPECT_EQ(window->Label3->text(), "Zomeravond");
    EXPECT_EQ(window->TijdLabel->text(), "01:05");
    EXPECT_EQ(window->Label1->text(), "12 Songs");
    EXPECT_EQ(window->Label2->text(), "Totaal : 00:41:07");
    EXPECT_EQ(window->Label5->text(), "Totaal : 00:03:00");
    EXPECT_EQ(window->BarLabel->text(), "36%");
}

}  // namespace
}  // namespace tunekist::test
