// The form's design-time settings on the real controls: captions, fonts, colours, list columns,
// the timer, the logo, the frame panel and the keyboard order.
#include <QApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>
#include <string>

#include "platform/qt/qt_list_view.h"
#include "tests/window/window_fixture.h"

namespace tunekist::test {
namespace {

using ControlOf = QWidget* (*)(MainWindow&);

TEST_F(WindowTest, FormIsCalledForm1AndHasItsDesignClientArea) {
    EXPECT_EQ(window->windowTitle(), "Form1");
    // 18375 x 10665 twips
    EXPECT_EQ(window->size(), QSize(1225, 711));
}

struct LabelCase {
    const char* name;
    QLabel* (*label)(MainWindow&);
    ControlOf container;
    const char* designCaption;
    double points;
    Qt::Alignment alignment;
    QColor textAfterLayout;  // invalid: the system's button-text colour
};

void PrintTo(const LabelCase& labelCase, std::ostream* out) { *out << labelCase.name; }

const QColor kGrey(64, 64, 64);
const QColor kListText(230, 230, 250);
const QColor kBlack(0, 0, 0);

class LabelTest : public WindowTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(LabelTest, HasItsDesignCaptionFontAndColour) {
    const LabelCase& expected = GetParam();
    QLabel* label = expected.label(*window);
    EXPECT_EQ(label->objectName(), expected.name);
    EXPECT_EQ(label->parentWidget(), expected.container(*window));
    EXPECT_EQ(label->text(), expected.designCaption);
    EXPECT_EQ(label->font().family(), "Arial");
    EXPECT_EQ(QFontInfo(label->font()).family(), "Liberation Sans");
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), expected.points);
    EXPECT_EQ(label->font().weight(), QFont::Normal);
    EXPECT_FALSE(label->font().italic());
    EXPECT_FALSE(label->font().underline());
    EXPECT_FALSE(label->font().strikeOut());
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, expected.alignment);

    Show();
    // Transparent, and as large as its caption.
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->size(), label->sizeHint());
    const QColor text = expected.textAfterLayout.isValid() ? expected.textAfterLayout
                                                           : QApplication::palette().color(QPalette::ButtonText);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Labels, LabelTest, ::testing::Values(
    LabelCase{"BarLabel", [](MainWindow& w) { return w.BarLabel; }, [](MainWindow& w) { return w.MiddenPic; },
              "0%", 9.75, Qt::AlignHCenter, kGrey},
    LabelCase{"Label4", [](MainWindow& w) { return w.Label4; }, [](MainWindow& w) { return w.MiddenPic; },
              "Volume", 9, Qt::AlignLeft, kGrey},
    LabelCase{"TijdLabel", [](MainWindow& w) { return w.TijdLabel; }, [](MainWindow& w) { return w.KopPic; },
              "Time", 12, Qt::AlignRight, kListText},
    LabelCase{"Label3", [](MainWindow& w) { return w.Label3; }, [](MainWindow& w) { return w.KopPic; },
              "Playlabel", 12, Qt::AlignLeft, kListText},
    LabelCase{"Label5", [](MainWindow& w) { return w.Label5; }, [](MainWindow& w) { return w.MenuPic; },
              "00:00:00", 12, Qt::AlignRight, QColor()},
    LabelCase{"Label2", [](MainWindow& w) { return w.Label2; }, [](MainWindow& w) { return w.MenuPic; },
              "Label2", 12, Qt::AlignLeft, kBlack},
    LabelCase{"Label1", [](MainWindow& w) { return w.Label1; }, [](MainWindow& w) { return w.MenuPic; },
              "0 Songs", 12, Qt::AlignLeft, kBlack}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class SongListTest : public WindowTest, public ::testing::WithParamInterface<ControlOf> {
protected:
    QTreeWidget* View() { return static_cast<QTreeWidget*>(GetParam()(*window)); }
};

TEST_P(SongListTest, HasTheThreeSongColumnsInItsFontAndColours) {
    QTreeWidget* view = View();
    EXPECT_EQ(QFontInfo(view->font()).family(), "Liberation Sans");
    EXPECT_DOUBLE_EQ(view->font().pointSizeF(), 9.75);
    ASSERT_EQ(view->columnCount(), 3);
    const QTreeWidgetItem* header = view->headerItem();
    EXPECT_EQ(header->text(0), "Naam Song");
    EXPECT_EQ(header->text(1), "Tijd");
    EXPECT_EQ(header->text(2), "Omvang");
    EXPECT_EQ(header->textAlignment(0) & Qt::AlignHorizontal_Mask, 0);
    EXPECT_EQ(header->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(header->textAlignment(2) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    // 1440 twips each until the first layout.
    EXPECT_EQ(view->columnWidth(0), 96);
    Show();
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(30, 30, 50));
    EXPECT_EQ(view->palette().color(QPalette::Text), kListText);
}

TEST_P(SongListTest, ShowsRowsInInsertionOrderEvenAfterAHeaderClick) {
    Show();
    QtListView rows(*View());
    for (const char* name : {"Zwaan", "Appel", "Mier"}) rows.AddRow(name);
    QHeaderView* header = View()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(rows.RowText(1), "Zwaan");
    EXPECT_EQ(rows.RowText(2), "Appel");
    EXPECT_EQ(rows.RowText(3), "Mier");
}

INSTANTIATE_TEST_SUITE_P(SongLists, SongListTest,
                         ::testing::Values([](MainWindow& w) -> QWidget* { return w.ListView1; },
                                           [](MainWindow& w) -> QWidget* { return w.ListView2; }));

TEST_F(WindowTest, PlaylistCarriesItsToolTip) {
    EXPECT_EQ(window->ListView2->toolTip(), " Playlist ");
    EXPECT_EQ(window->ListView1->toolTip(), "");
}

TEST_F(WindowTest, FolderBrowserUsesArial975) {
    for (QWidget* control : {static_cast<QWidget*>(window->Drive1), static_cast<QWidget*>(window->Dir1)}) {
        EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans");
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), 9.75);
    }
}

TEST_F(WindowTest, PlayTimerTicksEverySecondFromStartUp) {
    EXPECT_EQ(window->PlayTimer->interval(), 1000);
    EXPECT_TRUE(window->PlayTimer->isActive());
}

TEST_F(WindowTest, LogoIsOurOwn349By198PictureScaledToTheControl) {
    const QImage logo(":/tunekist/logo.png");
    ASSERT_EQ(logo.size(), QSize(349, 198));
    EXPECT_FALSE(logo.hasAlphaChannel());
    EXPECT_TRUE(window->Pic1->hasScaledContents());
    EXPECT_EQ(window->Pic1->pixmap().size(), QSize(349, 198));
    Show();
    // The logo is squeezed into the control; its dark green reaches every corner.
    const QImage shown = window->Pic1->grab().toImage();
    ASSERT_EQ(shown.size(), window->Pic1->size());
    ASSERT_EQ(shown.height(), 198);
    const int right = shown.width() - 2;
    for (const QPoint corner : {QPoint(1, 1), QPoint(right, 1), QPoint(1, 196), QPoint(right, 196)}) {
        const QColor pixel = shown.pixelColor(corner);
        EXPECT_LT(pixel.red(), 20) << corner.x() << "," << corner.y();
        EXPECT_GT(pixel.green(), 30) << corner.x() << "," << corner.y();
    }
}

TEST_F(WindowTest, FramePanelLiesBehindEverythingWithATwoPixelBlackBorder) {
    Show();
    const QSize screen = window->screen()->size();
    EXPECT_EQ(window->Rand1->geometry(), QRect(10, 10, screen.width() - 20, screen.height() - 20));
    const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(controls.isEmpty());
    EXPECT_EQ(controls.front(), window->Rand1);

    const QImage shown = window->grab().toImage();
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(0, 100, 0));
    EXPECT_EQ(shown.pixelColor(10, 10), kBlack);
    EXPECT_EQ(shown.pixelColor(11, 30), kBlack);
    EXPECT_EQ(shown.pixelColor(12, 30), QColor(220, 220, 190));
    EXPECT_EQ(shown.pixelColor(30, 12), QColor(220, 220, 190));
}

TEST_F(WindowTest, KeyboardVisitsTheControlsInTheFormsTabOrder) {
    const std::vector<QWidget*> expected = {window->ListView1, window->ListView2, window->Dir1,    window->Drive1,
                                            window->Knop[0],   window->Knop[1],   window->Knop[2], window->Knop[3],
                                            window->Knop[5],   window->Knop[4],   window->VolSlider, window->ExitKnop};
    std::vector<QWidget*> visited;
    QWidget* next = window->ListView1;
    do {
        if (std::find(expected.begin(), expected.end(), next) != expected.end()) visited.push_back(next);
        next = next->nextInFocusChain();
    } while (next != window->ListView1 && visited.size() < 20);
    EXPECT_EQ(visited, expected);
}

}  // namespace
}  // namespace tunekist::test
