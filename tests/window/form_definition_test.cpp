// The form's design-time settings on the real controls as the user meets them: fonts, colours,
// the names a screen reader speaks, list columns, the timer, the logo, the frame panel and the
// keyboard order.
#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTest>

#include "tests/support/player_window.h"

namespace tunekist::test {
namespace {

// Every text is drawn in the installed Arial look-alike at its design size. Labels sit in their
// strip, stay transparent and as large as their caption, and take their colour from the layout
// (an invalid colour: the system's button-text colour). A screen reader speaks the names given.
TEST_F(QuietWindowTest, ControlsHaveTheirDesignFontsColoursAndNames) {
    const QColor grey(64, 64, 64), listText(230, 230, 250), black(0, 0, 0);
    const struct {
        const char* name;
        double points;  // 0: the control's own
        const char* spoken = nullptr;
        const char* container = nullptr;  // labels only
        QColor text{};
    } controls[] = {
        {"BarLabel", 9.75, nullptr, "MiddenPic", grey}, {"Label4", 9, nullptr, "MiddenPic", grey},
        {"TijdLabel", 12, nullptr, "KopPic", listText}, {"Label3", 12, nullptr, "KopPic", listText},
        {"Label5", 12, nullptr, "MenuPic", QColor()},   {"Label2", 12, nullptr, "MenuPic", black},
        {"Label1", 12, nullptr, "MenuPic", black},      {"ListView1", 9.75, "Songs in de map"},
        {"ListView2", 9.75, "Playlist"}, {"Drive1", 9.75, "Station"}, {"Dir1", 9.75, "Map"},
        {"VolSlider", 0, "Volume"}, {"Bar", 0, "Voortgang"}, {"Knop(0)", 0, "Play"}, {"Knop(1)", 0, "Pauze"},
        {"Knop(2)", 0, "Rew"}, {"Knop(3)", 0, "Forew"}, {"Knop(4)", 0, "Next"}, {"Knop(5)", 0, "Stop"},
        {"ExitKnop", 0, "Exit"}};
    for (const auto& expected : controls) {
        SCOPED_TRACE(expected.name);
        auto* control = window->findChild<QWidget*>(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->accessibleName(), expected.spoken ? expected.spoken : control->accessibleName());
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
}

// The keyboard visits the controls in the form's order, and nothing else.
TEST_F(QuietWindowTest, KeyboardVisitsTheControlsInTheFormsTabOrder) {
    const std::vector<QWidget*> expected = {window->ListView1, window->ListView2, window->Dir1,    window->Drive1,
                                            window->Knop[0],   window->Knop[1],   window->Knop[2], window->Knop[3],
                                            window->Knop[5],   window->Knop[4],   window->VolSlider, window->ExitKnop};
    std::vector<QWidget*> visited;
    QWidget* next = window->ListView1;
    do {
        if (next->focusPolicy() != Qt::NoFocus && next->isVisibleTo(window.get())) visited.push_back(next);
        next = next->nextInFocusChain();
    } while (next != window->ListView1 && visited.size() < 20);
    EXPECT_EQ(visited, expected);
}

// 18375 x 10665 twips and a timer ticking every second from start-up (the fixture's own window
// keeps its timer quiet, so a second one is made here); both song lists show name, time and size
// in their colours, with the rows in the order they were added even after a click on a column
// header; only the playlist has a tool tip.
TEST_F(QuietWindowTest, FormAndSongListsHaveTheirDesign) {
    const MainWindow design(engines.Factory());
    EXPECT_EQ(design.windowTitle(), "Form1");
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
        EXPECT_EQ(view->palette().color(QPalette::Base), QColor(30, 30, 50));
        EXPECT_EQ(view->palette().color(QPalette::Text), QColor(230, 230, 250));

        QtListView rows(*view);
        for (const char* name : {"Zwaan", "Appel", "Mier"}) rows.AddRow(name);
        QHeaderView* columns = view->header();
        QTest::mouseClick(columns->viewport(), Qt::LeftButton, {},
                          QPoint(columns->sectionViewportPosition(0) + 10, columns->height() / 2));
        EXPECT_EQ(rows.RowText(1) + rows.RowText(2) + rows.RowText(3), "ZwaanAppelMier");
    }
    EXPECT_EQ(window->ListView2->toolTip(), " Playlist ");
    EXPECT_EQ(window->ListView1->toolTip(), "");
}

// The logo is our own 349 x 198 picture squeezed into the control; its dark green reaches every
// corner. Behind it and every other control, the frame panel spans the screen.
TEST_F(QuietWindowTest, LogoIsOurOwnPictureInFrontOfTheFramePanel) {
    const QImage logo(":/tunekist/logo.png");
    EXPECT_TRUE(logo.size() == QSize(349, 198) && !logo.hasAlphaChannel());
    const QImage shown = window->Pic1->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(window->Pic1->width(), 198));
    const int right = shown.width() - 2;
    for (const QPoint corner : {QPoint(1, 1), QPoint(right, 1), QPoint(1, 196), QPoint(right, 196)}) {
        const QColor pixel = shown.pixelColor(corner);
        EXPECT_TRUE(pixel.red() < 20 && pixel.green() > 30) << corner.x() << "," << corner.y();
    }
    const QSize screen = window->screen()->size();
    EXPECT_EQ(window->Rand1->geometry(), QRect(10, 10, screen.width() - 20, screen.height() - 20));
    EXPECT_EQ(window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).value(0), window->Rand1);
}

}  // namespace
}  // namespace tunekist::test
