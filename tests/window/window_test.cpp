// The window as the user meets it: the form's design-time settings on the real controls (fonts,
// colours, the names a screen reader speaks, the keyboard order, list columns, the timer, the
// logo and the frame panel), and the layout pass: every control's pixels for an outer size, given
// while a song plays and the window is minimised, keeping the captions the program set; and an
// engine's error box.
#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <map>
#include <optional>

#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

// Every text is drawn in the installed Arial look-alike at its design size. Labels sit in their
// strip, stay transparent and as large as their caption, and take their colour from the layout
// (an invalid colour: the system's button-text colour). A screen reader speaks the names given.
// The keyboard visits the controls with a name in the order of the rows, and nothing else.
TEST_F(QuietWindowTest, ControlsHaveTheirDesignFontsColoursNamesAndTabOrder) {
    const QColor grey(64, 64, 64), listText(230, 230, 250), black(0, 0, 0);
    const struct {
        const char* name;
        double points;  // 0: the control's own
        const char* spoken = nullptr;
        const char* container = nullptr;  // labels only
        QColor text{};
    } controls[] = {{"BarLabel", 9.75, nullptr, "MiddenPic", grey},
                    {"Label4", 9, nullptr, "MiddenPic", grey},
                    {"TijdLabel", 12, nullptr, "KopPic", listText},
                    {"Label3", 12, nullptr, "KopPic", listText},
                    {"Label5", 12, nullptr, "MenuPic", QColor()},
                    {"Label2", 12, nullptr, "MenuPic", black},
                    {"Label1", 12, nullptr, "MenuPic", black},
                    {"Bar", 0, "Voortgang"},
                    {"ListView1", 9.75, "Songs in de map"},
                    {"ListView2", 9.75, "Playlist"},
                    {"Dir1", 9.75, "Map"},
                    {"Drive1", 9.75, "Station"},
                    {"Knop(0)", 0, "Play"},
                    {"Knop(1)", 0, "Pauze"},
                    {"Knop(2)", 0, "Rew"},
                    {"Knop(3)", 0, "Forew"},
                    {"Knop(5)", 0, "Stop"},
                    {"Knop(4)", 0, "Next"},
                    {"VolSlider", 0, "Volume"},
                    {"ExitKnop", 0, "Exit"}};
    std::vector<std::string> stops;
    for (const auto& expected : controls) {
        SCOPED_TRACE(expected.name);
        auto* control = window->findChild<QWidget*>(expected.name);
        ASSERT_NE(control, nullptr);
        if (expected.spoken) {
            EXPECT_EQ(control->accessibleName(), expected.spoken);
            if (control != window->Bar) stops.push_back(expected.name);
        }
        if (expected.points == 0) continue;
        EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans");
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), expected.points);
        auto* label = qobject_cast<QLabel*>(control);
        if (label == nullptr) continue;
        EXPECT_EQ(label->parentWidget()->objectName(), expected.container);
        EXPECT_FALSE(label->autoFillBackground());
        EXPECT_EQ(label->size(), label->sizeHint());
        const QColor text =
            expected.text.isValid() ? expected.text : QApplication::palette().color(QPalette::ButtonText);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), text);
    }
    std::vector<std::string> visited;
    QWidget* next = window->ListView1;
    do {
        if (next->focusPolicy() != Qt::NoFocus && next->isVisibleTo(window.get())) {
            visited.push_back(next->objectName().toStdString());
        }
        next = next->nextInFocusChain();
    } while (next != window->ListView1 && visited.size() < 20);
    EXPECT_EQ(visited, stops);
}

// The form's 18375 x 10665 twips and a timer ticking every second from start-up (the fixture's
// own window keeps its timer quiet, so a second one is made here). Both song lists show name,
// time and size in their text colour, with the rows in the order they were added even after a
// click on a column header; only the playlist has a tool tip. The logo is our own 349 x 198
// picture squeezed into the control; behind it and every other control, the frame panel spans
// the screen.
TEST_F(QuietWindowTest, FormListsAndLogoHaveTheirDesign) {
    const MainWindow design(engines.Factory());
    EXPECT_EQ(design.size(), QSize(1225, 711));
    EXPECT_EQ(design.PlayTimer->interval(), 1000);
    EXPECT_TRUE(design.PlayTimer->isActive());
    for (QTreeWidget* view : {window->ListView1, window->ListView2}) {
        SCOPED_TRACE(view->objectName().toStdString());
        const QTreeWidgetItem* header = view->headerItem();
        EXPECT_EQ(view->columnCount(), 3);
        EXPECT_EQ(header->text(0) + "|" + header->text(1) + "|" + header->text(2), "Naam Song|Tijd|Omvang");
        EXPECT_EQ(header->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(header->textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(view->palette().color(QPalette::Text), QColor(230, 230, 250));
        EXPECT_EQ(view->toolTip(), view == window->ListView2 ? " Playlist " : "");

        QtListView rows(*view);
        for (const char* name : {"Zwaan", "Appel", "Mier"}) rows.AddRow(name);
        QHeaderView* columns = view->header();
        QTest::mouseClick(columns->viewport(), Qt::LeftButton, {},
                          QPoint(columns->sectionViewportPosition(0) + 10, columns->height() / 2));
        EXPECT_EQ(rows.RowText(1) + rows.RowText(2) + rows.RowText(3), "ZwaanAppelMier");
    }

    const QImage logo(":/tunekist/logo.png");
    EXPECT_TRUE(logo.size() == QSize(349, 198) && !logo.hasAlphaChannel());
    const QImage shown = window->Pic1->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(window->Pic1->width(), 198));
    const QImage scaled = logo.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(shown, scaled.convertToFormat(shown.format()));
    const QSize screen = window->screen()->size();
    EXPECT_EQ(window->Rand1->geometry(), QRect(10, 10, screen.width() - 20, screen.height() - 20));
    EXPECT_EQ(window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).value(0), window->Rand1);
}

// The colours at places the layout fixes, at the design size: the form, the frame panel's border
// and inside, both lists, the three strips, the bar, and the idle Stop button's border, shading and
// face (Knop(5) stands at W / 2 + 600 + 5 x 930 twips, H - 1830).
TEST_F(QuietWindowTest, PaintsTheDesignColoursWhereTheLayoutPutsThem) {
    ResizeTo(1225, 711);
    const QImage shown = window->grab().toImage();
    const int stopX = (1225 * 15 + 10500 + 15) / 30, stopY = 711 - 122;
    const struct {
        const char* what;
        QPoint at;
        QColor colour;
    } places[] = {
        {"form", {3, 3}, {0, 100, 0}},
        {"frame border", {10, 10}, {0, 0, 0}},
        {"frame border", {11, 11}, {0, 0, 0}},
        {"frame inside", {12, 12}, {220, 220, 190}},
        {"song list", {60, 621}, {30, 30, 50}},
        {"playlist", {1165, 80}, {30, 30, 50}},
        {"status strip", {612, 669}, {200, 200, 170}},
        {"header strip", {662, 580}, {30, 30, 50}},
        {"middle strip", {582, 45}, {200, 200, 170}},
        {"progress bar", {612, 611}, {30, 0, 0}},
        {"Stop's border", {stopX + 30, stopY}, {112, 112, 112}},
        {"Stop's corner shading", {stopX + 1, stopY + 1}, {145, 145, 145}},
        {"Stop's face", {stopX + 4, stopY + 2}, {242, 242, 242}},
    };
    for (const auto& place : places) EXPECT_EQ(QColor(shown.pixel(place.at)), place.colour) << place.what;
}

// A song name too long for the header is cut to end in "…" ten pixels before the elapsed time,
// which stays readable; a screen reader still reads the whole name. The drive list's drop-down
// wears the closed box's colours, not the desktop's.
TEST_F(QuietWindowTest, ALongNameStopsBeforeTheTimeAndTheDropDownWearsTheBoxColours) {
    const std::string name = "Een heel lange naam van een song die echt nooit in de kop van het venster past";
    Queue(name, CachedTone(10.0, 440));
    Press(kPlay);
    EXPECT_EQ(Text(window->Label3), name);
    const QImage header = window->KopPic->grab().toImage();
    // The rows of column x holding ink: pixels far from the strip's background.
    const auto ink = [&](int x) {
        std::vector<int> rows;
        for (int y = 0; y < header.height(); ++y) {
            const QColor c = header.pixelColor(x, y);
            if (std::abs(c.red() - 30) + std::abs(c.green() - 30) + std::abs(c.blue() - 50) > 60) rows.push_back(y);
        }
        return rows;
    };
    const int time = window->TijdLabel->x();
    int nameEnd = 0;
    for (int x = 0; x < time; ++x) nameEnd = ink(x).empty() ? nameEnd : x;
    EXPECT_LT(nameEnd, time - 10);
    EXPECT_GT(nameEnd, time - 40) << "the name is shown up to the time";
    // "…" is a line of dots on the baseline: its ink keeps to a few rows.
    std::vector<int> tail;
    for (int x = nameEnd - 8; x <= nameEnd; ++x) std::ranges::copy(ink(x), std::back_inserter(tail));
    ASSERT_FALSE(tail.empty());
    EXPECT_LE(std::ranges::max(tail) - std::ranges::min(tail), 3);
    bool timeShown = false;
    for (int x = time; x < time + window->TijdLabel->width(); ++x) timeShown = timeShown || !ink(x).empty();
    EXPECT_TRUE(timeShown);

    // Dropped down with a click, the drive list's entries show on its background, in its text colour.
    QTest::mouseClick(window->Drive1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Drive1->view()->window()));
    const QImage dropped = window->Drive1->view()->grab().toImage();
    std::map<QRgb, int> colours;
    for (int i = 0; i < dropped.width() * dropped.height(); ++i)
        ++colours[dropped.pixel(i % dropped.width(), i / dropped.width())];
    EXPECT_EQ(std::ranges::max_element(colours, {}, &std::pair<const QRgb, int>::second)->first, qRgb(30, 30, 50));
    EXPECT_TRUE(colours.contains(qRgb(230, 230, 250)));
}

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
    {"OddWidth1201x733",
     {1201, 733},
     {1201, 733},
     std::array{347, 74, 74},
     {
         // LW1 = 7815: 5210, 1116.4
         {"ListView1", {40, 245, 521, 409}},  // (600, 3675) W/2 - 1200 = 7807.5 x H - 4860 = 6135
         {"MiddenPic", {568, 40, 66, 615}},   // W/2 - 495 = 8512.5; MH = H - 1770 = 9225
         {"VolSlider", {9, 10, 46, 200}},
         {"Label4", {12, 212, -1, -1}},
         {"Bar", {9, 405, 46, 200}},          // MH - 3150
         {"BarLabel", {24, 388, -1, -1}},     // MH - 3405
         {"ListView2", {641, 40, 521, 527}},  // W/2 + 600 = 9607.5, H - 3090
         {"KopPic", {641, 573, 521, 30}},     // H - 2400
         {"Label3", {5, 3, -1, -1}},
         {"TijdLabel", {475, 3, -1, -1}, "00:00"},  // KW - 690 = 7125
                                                    // left W/2 + 600 + 930 i, top H - 1830, 900 x 630
         {"Knop(0)", {641, 611, 60, 42}},
         {"Knop(1)", {703, 611, 60, 42}},
         {"Knop(2)", {765, 611, 60, 42}},
         {"Knop(3)", {827, 611, 60, 42}},
         {"Knop(4)", {889, 611, 60, 42}},
         {"Knop(5)", {951, 611, 60, 42}},
         {"ExitKnop", {1099, 611, 60, 42}},  // W - 1530
         {"Drive1", {41, 40, 261, -1}},
         {"Dir1", {41, 70, 261, 168}},      // LW1 / 2 = 3907.5 wide
         {"Pic1", {311, 40, 250, 198}},     // LW1 / 2 + 750, LW1 / 2 - 165
         {"MenuPic", {40, 663, 1121, 30}},  // H - 1050, W - 1200
         {"Label1", {6, 4, -1, -1}},
         {"Label2", {347, 4, -1, -1}},               // LW1 / 1.5
         {"Label5", {1047, 4, -1, -1}, "00:00:00"},  // MW - 1110 = 15705
     }},
    // The columns keep the header's least width here.
    {"SmallestWindow3060x4860",
     {50, 50},
     {204, 324},
     std::nullopt,
     {
         {"ListView1", {40, 245, 22, 0}},  // the first size to reach zero
         {"MiddenPic", {69, 40, 66, 206}},
         {"ListView2", {142, 40, 22, 118}},
         {"Bar", {9, -4, 46, 200}},
         {"BarLabel", {24, -21, -1, -1}},  // above the strip's top
         {"TijdLabel", {-24, 3, -1, -1}, "00:00"},
         {"Knop(5)", {452, 202, 60, 42}},
         {"ExitKnop", {102, 202, 60, 42}},
         {"Pic1", {61, 40, 0, 198}},  // the logo has no width left
         {"MenuPic", {40, 254, 124, 30}},
         {"Label5", {50, 4, -1, -1}, "00:00:00"},
     }},
};

class LayoutTest : public QuietWindowTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PlacesEveryControlFromTheOuterSizeAndKeepsTheCaptions) {
    const LayoutCase& layout = GetParam();
    const auto Captions = [&] {
        return std::vector{Text(window->Label3), Text(window->TijdLabel), Text(window->BarLabel),
                           Text(window->Label1), Text(window->Label2),    Text(window->Label5)};
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
        if (expected.width() >= 0) {
            EXPECT_EQ(actual.width(), expected.width());
        }
        if (expected.height() >= 0) {
            EXPECT_EQ(actual.height(), expected.height());
        }
    }
    for (const QTreeWidget* view : {window->ListView1, window->ListView2}) {
        const std::array widths{view->columnWidth(0), view->columnWidth(1), view->columnWidth(2)};
        if (layout.songColumns) {
            EXPECT_EQ(widths, *layout.songColumns) << view->objectName().toStdString();
        }
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

// An engine's failure told in a message box while a song plays: the song's ticks wait until the
// box is closed. (A process of its own: the sound device must open on /dev/full, which fails
// every write as an unplugged device does, and a process keeps its first device.)
TEST_F(PlayerWindowTest, ErrorBoxHoldsTheTicksWhileItIsOpen) {
    Queue("Eerste", CachedTone(10.0, 440));
    engines.SendSoundTo("/dev/full");
    Press(kPlay);
    ASSERT_TRUE(Eventually([&] {
        try {
            Position();
        } catch (const std::exception&) {
            return true;
        }
        return false;
    }));

    int ticks = 0, shown = 0;
    bool playingUnderTheBox = false;
    QObject::connect(window->PlayTimer, &QTimer::timeout, [&] { ++ticks; });
    window->BeforeMessage = [&, closeWithOk = window->BeforeMessage] {
        if (shown++ > 0) return closeWithOk();
        // The timer ticks on under the open box, as it does while a person reads it.
        QTimer::singleShot(0, [&, closeWithOk] {
            window->PlayTimer->setInterval(1);
            EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 || !program().state.Playing; }));
            playingUnderTheBox = program().state.Playing;
            window->PlayTimer->setInterval(24 * 3600 * 1000);
            closeWithOk();
        });
    };
    Press(kRew);
    EXPECT_TRUE(playingUnderTheBox) << "no tick may run under the open message";

    // Closed, the next tick finds the lost device: the song stops and waits at the queue's head.
    Tick();
    EXPECT_EQ(messages, (std::vector<std::string>(2, "Geluidsapparaat weggevallen")));
    EXPECT_FALSE(program().state.Playing || TimerRuns());
    EXPECT_EQ(QueuedNames(), std::vector<std::string>{"Eerste"});
}

}  // namespace
}  // namespace tunekist::test
