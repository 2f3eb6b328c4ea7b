// The window as the user meets it: the form's design, its colours and layout for an outer size,
// and an engine's error box.
#include <QApplication>
#include <QFontInfo>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include "platform/qt/qt_list_view.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

// Texts in the Arial look-alike at their design size; labels transparent in their strip, as large
// as their caption, in their layout colour (invalid: the button text's); spoken names, visited by
// the keyboard in the rows' order. The form's size and its timer ticking every second; both song
// lists' columns and text colour; our own logo squeezed into its control, behind every control
// the frame panel spanning the screen, and the design colours where the layout puts them.
TEST_F(QuietWindowTest, FormHasItsDesignFontsColoursNamesTabOrderListsAndLogo) {
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
    Strings stops, visited;
    for (const auto& expected : controls) {
        SCOPED_TRACE(expected.name);
        auto* control = window->findChild<QWidget*>(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(!expected.spoken || control->accessibleName() == expected.spoken)
            << control->accessibleName().toStdString();
        if (expected.spoken && control != window->Bar) stops.push_back(expected.name);
        if (expected.points == 0) continue;
        EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans");
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), expected.points);
        auto* label = qobject_cast<QLabel*>(control);
        if (label == nullptr) continue;
        EXPECT_EQ(label->parentWidget()->objectName(), expected.container);
        EXPECT_TRUE(!label->autoFillBackground() && label->size() == label->sizeHint());
        const QColor text =
            expected.text.isValid() ? expected.text : QApplication::palette().color(QPalette::ButtonText);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), text);
    }
    QWidget* next = window->ListView1;
    do {
        if (next->focusPolicy() != Qt::NoFocus && next->isVisibleTo(window.get()))
            visited.push_back(next->objectName().toStdString());
        next = next->nextInFocusChain();
    } while (next != window->ListView1 && visited.size() < 20);
    EXPECT_EQ(visited, stops);

    const MainWindow design(engines.Factory());  // the fixture's own window keeps its timer quiet
    EXPECT_EQ(design.size(), QSize(1225, 711));
    EXPECT_TRUE(design.PlayTimer->interval() == 1000 && design.PlayTimer->isActive());
    for (QTreeWidget* view : {window->ListView1, window->ListView2}) {
        SCOPED_TRACE(view->objectName().toStdString());
        const QTreeWidgetItem* header = view->headerItem();
        EXPECT_EQ(header->text(0) + "|" + header->text(1) + "|" + header->text(2), "Naam Song|Tijd|Omvang");
        EXPECT_EQ(header->textAlignment(1) & header->textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(view->palette().color(QPalette::Text), listText);
        EXPECT_EQ(view->toolTip(), view == window->ListView2 ? " Playlist " : "");
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

    // The colours at places the layout fixes, at the design size. The drive list's drop-down
    // wears the closed box's colours (mostly its background), not the desktop's.
    ResizeTo(1225, 711);
    const QImage form = window->grab().toImage();
    const std::pair<QPoint, QColor> places[] = {
        {{3, 3}, {0, 100, 0}},          // the form
        {{11, 11}, {0, 0, 0}},          // the frame's border
        {{12, 12}, {220, 220, 190}},    // inside the frame
        {{60, 621}, {30, 30, 50}},      // the song list
        {{612, 669}, {200, 200, 170}},  // the status strip
        {{662, 580}, {30, 30, 50}},     // the header strip
        {{582, 45}, {200, 200, 170}},   // the middle strip
    };
    for (const auto& [at, colour] : places) EXPECT_EQ(QColor(form.pixel(at)), colour) << at.x() << "," << at.y();
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

// Twips (15 to the pixel, W = 15 w) become pixels rounded to the nearest, halves away from zero.
const std::vector<Placement> kOddWidth = {
    {"ListView1", {40, 245, 521, 409}},        // (600, 3675) W/2 - 1200 = 7807.5 x H - 4860 = 6135
    {"MiddenPic", {568, 40, 66, 615}},         // W/2 - 495 = 8512.5; MH = H - 1770 = 9225
    {"Bar", {9, 405, 46, 200}},                // MH - 3150
    {"BarLabel", {24, 388, -1, -1}},           // MH - 3405
    {"ListView2", {641, 40, 521, 527}},        // W/2 + 600 = 9607.5, H - 3090
    {"KopPic", {641, 573, 521, 30}},           // H - 2400
    {"TijdLabel", {475, 3, -1, -1}, "00:00"},  // KW - 690 = 7125
    {"Knop(0)", {641, 611, 60, 42}},           // W/2 + 600 + 930 i, H - 1830, 900 x 630
    {"Knop(5)", {951, 611, 60, 42}},
    {"ExitKnop", {1099, 611, 60, 42}},          // W - 1530
    {"Dir1", {41, 70, 261, 168}},               // LW1 / 2 = 3907.5 wide
    {"Pic1", {311, 40, 250, 198}},              // LW1 / 2 + 750, LW1 / 2 - 165
    {"MenuPic", {40, 663, 1121, 30}},           // H - 1050, W - 1200
    {"Label2", {347, 4, -1, -1}},               // LW1 / 1.5
    {"Label5", {1047, 4, -1, -1}, "00:00:00"},  // MW - 1110 = 15705
};

// Given while a song is paused halfway and the window is minimised, the layout waits until the
// window is shown again, and keeps the captions the program set. A name too long for the header
// ends in "…" ten pixels before the readable elapsed time; a screen reader reads it whole. The
// window stops at the smallest size it can lay out, where the song list has no height left.
TEST_F(QuietWindowTest, PlacesEveryControlFromTheOuterSizeAndKeepsTheCaptions) {
    const std::string name = "Een heel lange naam van een song die echt nooit in de kop van het venster past";
    Queue(name, CachedTone(10.0, 440));
    Press(kPlay);
    Press(kPauze);
    program().state.GraphPosition->put_CurrentPosition(5.0);
    Tick();
    const QRect songList = window->ListView1->geometry();
    window->setWindowState(Qt::WindowMinimized);
    ResizeTo(1201, 733);
    window->Form_Resize();
    EXPECT_EQ(window->ListView1->geometry(), songList);
    window->setWindowState(Qt::WindowNoState);
    window->Form_Resize();
    ASSERT_EQ(window->frameGeometry().size(), QSize(1201, 733));
    for (const Placement& placement : kOddWidth) {
        SCOPED_TRACE(placement.name);
        const auto* control = window->findChild<QWidget*>(placement.name);
        ASSERT_NE(control, nullptr);
        const QRect actual = control->geometry(), expected = placement.pixels;
        const int left = placement.anchor
                             ? actual.right() + 1 - control->fontMetrics().horizontalAdvance(placement.anchor)
                             : actual.x();
        EXPECT_EQ(QPoint(left, actual.y()), expected.topLeft());
        EXPECT_TRUE(expected.width() < 0 || actual.width() == expected.width()) << actual.width();
        EXPECT_TRUE(expected.height() < 0 || actual.height() == expected.height()) << actual.height();
    }
    for (const QTreeWidget* view : {window->ListView1, window->ListView2}) {
        const std::array widths{view->columnWidth(0), view->columnWidth(1), view->columnWidth(2)};
        EXPECT_EQ(widths, (std::array{347, 74, 74})) << view->objectName().toStdString();
    }
    const auto Captions = [&] {
        return std::vector{Text(window->Label3), Text(window->TijdLabel), Text(window->BarLabel),
                           Text(window->Label1), Text(window->Label2),    Text(window->Label5)};
    };
    EXPECT_EQ(Captions(), (Strings{name, "00:05", "50%", "1 Songs", "Totaal : 00:00:10", "Totaal : 00:00:10"}));
    const QImage header = window->KopPic->grab().toImage();
    const auto inked = [&](int x, int y) {  // far from the strip's background
        const QColor c = header.pixelColor(x, y);
        return std::abs(c.red() - 30) + std::abs(c.green() - 30) + std::abs(c.blue() - 50) > 60;
    };
    const int time = window->TijdLabel->x();
    int nameEnd = 0, timeInk = 0, top = header.height(), bottom = 0;
    for (int x = 0; x < header.width(); ++x)
        for (int y = 0; y < header.height(); ++y) {
            if (inked(x, y) && x < time) nameEnd = x;
            if (inked(x, y) && x >= time) ++timeInk;
        }
    EXPECT_TRUE(nameEnd < time - 10 && nameEnd > time - 40) << nameEnd << " against the time at " << time;
    // "…" is a line of dots on the baseline: its ink keeps to a few rows.
    for (int x = nameEnd - 8; x <= nameEnd; ++x)
        for (int y = 0; y < header.height(); ++y)
            if (inked(x, y)) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_TRUE(timeInk > 0 && bottom >= top && bottom - top <= 3) << top << ".." << bottom;
    // A longer time grows to the left of where the short one started.
    const QRect shortTime = window->TijdLabel->geometry();
    SetLabelCaption(*window->TijdLabel, "1:02:03");
    EXPECT_EQ(window->TijdLabel->geometry().right(), shortTime.right());
    EXPECT_LT(window->TijdLabel->x(), shortTime.x());
    ResizeTo(50, 50);
    EXPECT_EQ(window->frameGeometry().size(), QSize(204, 324));
    EXPECT_EQ(window->ListView1->height(), 0);
}

// Rows shown on request come laid out as they stay: a song list that gains its scroll bar with them
// paints its rows once, not once more when the bar narrows the list a moment later. The frame
// panel behind the list paints every pixel of its own, so the form behind it is left alone.
TEST_F(QuietWindowTest, SongListPaintsTheRowsItShowsOnce) {
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } rowPaints, formPaints;
    QTreeWidget& tree = *window->ListView1;
    ListView& rows = program().Controls().ListView1;
    for (int row = 1; row <= 200; ++row) rows.AddRow("Song " + std::to_string(row));
    tree.viewport()->installEventFilter(&rowPaints);
    window->installEventFilter(&formPaints);
    rows.Refresh();
    for (int turn = 0; turn < 10; ++turn) QCoreApplication::processEvents();
    EXPECT_EQ(tree.topLevelItemCount(), 200);
    EXPECT_TRUE(tree.verticalScrollBar()->isVisible());
    EXPECT_EQ(rowPaints.paints, 1);
    EXPECT_EQ(formPaints.paints, 0);
}

// Rows added below a list that is full to its bottom edge change only its scroll bar, so they
// reach the tree in rarer batches; rows that fill it keep coming twenty times a second. Told by
// which comes first, the row or a timer set between the two intervals: timers fire in the order
// of their deadlines, however busy the machine is.
TEST_F(QuietWindowTest, SongListShowsRowsBelowAFullListInRarerBatches) {
    QTreeWidget& tree = *window->ListView1;
    ListView& rows = program().Controls().ListView1;
    const auto shownBeforeTheTimer = [&](const std::string& name) {
        const int wanted = rows.AddRow(name);
        bool timerFired = false;
        QTimer::singleShot((QtListView::kShowMilliseconds + QtListView::kFullListShowMilliseconds) / 2,
                           [&] { timerFired = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return tree.topLevelItemCount() == wanted; }, 5000));
        const bool shownFirst = !timerFired;
        EXPECT_TRUE(QTest::qWaitFor([&] { return timerFired; }, 5000));
        return shownFirst;
    };
    EXPECT_TRUE(shownBeforeTheTimer("Song 1"));
    for (int row = 2; row <= 200; ++row) rows.AddRow("Song " + std::to_string(row));
    rows.Refresh();
    EXPECT_FALSE(shownBeforeTheTimer("Song 201"));
    EXPECT_EQ(tree.topLevelItemCount(), 201);
}

// Soon after the window first shows, the wait cursor is made for the first listing, but never
// left on: at rest the pointer is the window's own.
TEST_F(QuietWindowTest, WaitCursorIsMadeAheadButNotLeftOn) {
    bool prepared = false;
    QTimer::singleShot(2 * MainWindow::kPrepareHourglassAfterShowMs, [&] { prepared = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return prepared; }, 5000));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// An engine's failure told in a message box while a song plays: the ticks wait until it is closed.
// (A process of its own: a process keeps its first sound device, and /dev/full fails every write
// as an unplugged device does.)
TEST_F(PlayerWindowTest, ErrorBoxHoldsTheTicksWhileItIsOpen) {
    Queue("Eerste", CachedTone(10.0, 440));
    engines.SendSoundTo("/dev/full");
    Press(kPlay);
    ASSERT_TRUE(Eventually([&] {
        try {
            Position();
            return false;
        } catch (const std::exception&) {
            return true;
        }
    }));
    int ticks = 0, shown = 0;
    bool playingUnderTheBox = false;
    QObject::connect(window->PlayTimer, &QTimer::timeout, [&] { ++ticks; });
    // The timer ticks on under the first box, as it does while a person reads it.
    duringMessage = [&](QMessageBox&) {
        if (shown++ > 0) return;
        window->PlayTimer->setInterval(1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 || !program().state.Playing; }));
        playingUnderTheBox = program().state.Playing;
        window->PlayTimer->setInterval(24 * 3600 * 1000);
    };
    Press(kRew);
    EXPECT_TRUE(playingUnderTheBox) << "no tick may run under the open message";
    // Closed, the next tick finds the lost device: the song stops and waits at the queue's head.
    Tick();
    EXPECT_EQ(messages, (Strings(2, "Geluidsapparaat weggevallen")));
    EXPECT_FALSE(program().state.Playing || TimerRuns());
    EXPECT_EQ(QueuedNames(), Strings{"Eerste"});
}

}  // namespace
}  // namespace tunekist::test
