// The layout pass: every control's place, size, colours and start-up caption, from the window's
// outer size. Positions are twips, computed in single precision.
#include <QPalette>

#include "app/main_window.h"
#include "platform/qt/qt_label.h"
#include "platform/qt/twips.h"

namespace tunekist {
namespace {

const QColor kListBack(30, 30, 50);
const QColor kListText(230, 230, 250);
const QColor kPanelBack(200, 200, 170);
const QColor kBarBack(30, 0, 0);

void Place(QWidget* control, float left, float top, float width, float height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

void PlaceAt(QWidget* control, float left, float top) { control->move(TwipsToPixels(left), TwipsToPixels(top)); }

void PlaceWidth(QWidget* control, float left, float top, float width) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), control->height());
}

float WidthOf(const QWidget* control) { return PixelsToTwips(control->width()); }
float HeightOf(const QWidget* control) { return PixelsToTwips(control->height()); }

void SetColors(QWidget* control, const QColor& back, const QColor& text) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Button, back);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    control->setPalette(palette);
}

void SetBack(QWidget* control, const QColor& back) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, back);
    control->setPalette(palette);
}

void SetText(QLabel* label, const QColor& text) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

void SetColumns(QTreeWidget* view, float listWidth) {
    view->setColumnWidth(0, TwipsToPixels(listWidth / 1.5f));
    view->setColumnWidth(1, TwipsToPixels(listWidth / 7.0f));
    view->setColumnWidth(2, TwipsToPixels(listWidth / 7.0f));
}

void SetCaption(QLabel* label, const char* caption) { SetLabelCaption(*label, caption); }

// A right-aligned label starts at `left` when its caption is as wide as `referenceCaption`; a
// longer caption grows to the left instead of being cut at the container's edge.
void PlaceRightAligned(QLabel* label, float left, float top, const QString& referenceCaption) {
    const int referenceWidth = label->fontMetrics().horizontalAdvance(referenceCaption) + 2 * label->margin();
    label->move(label->x(), TwipsToPixels(top));
    AnchorRightEdge(*label, TwipsToPixels(left) + referenceWidth);
}

}  // namespace

void MainWindow::Form_Resize() {
    // A minimised window's size is far below the smallest the layout can place.
    if (isMinimized()) return;
    Form_Resize(PixelsToTwips(frameGeometry().width()), PixelsToTwips(frameGeometry().height()));
}

void MainWindow::Form_Resize(float W, float H) {
    // The start-up captions come with the first pass only: a resize must not wipe the song
    // count, the totals, the elapsed time or the song's name.
    const bool firstPass = !laidOut_;
    laidOut_ = true;

    Place(ListView1, 600, 3675, W / 2 - 1200, H - 4860);
    const float LW1 = WidthOf(ListView1);
    SetColumns(ListView1, LW1);
    SetColors(ListView1, kListBack, kListText);

    Place(MiddenPic, W / 2 - 495, 600, 990, H - 1770);
    const float MH = HeightOf(MiddenPic);
    SetBack(MiddenPic, kPanelBack);
    Place(VolSlider, 135, 150, 690, 3000);
    PlaceAt(Label4, 180, 3180);
    Place(Bar, 135, MH - 3150, 690, 3000);
    Bar->SetBackColor(RGB(30, 0, 0));
    PlaceAt(BarLabel, 360, MH - 3405);

    Place(ListView2, W / 2 + 600, 600, W / 2 - 1200, H - 3090);
    const float LW2 = WidthOf(ListView2);
    SetColumns(ListView2, LW2);
    SetColors(ListView2, kListBack, kListText);

    Place(KopPic, W / 2 + 600, H - 2400, W / 2 - 1200, 450);
    const float KW = WidthOf(KopPic);
    SetBack(KopPic, kListBack);
    PlaceAt(Label3, 75, 45);
    SetText(Label3, kListText);
    if (firstPass) SetCaption(Label3, "Play song");
    PlaceRightAligned(TijdLabel, KW - 690, 45, "00:00");
    SetText(TijdLabel, kListText);
    if (firstPass) SetCaption(TijdLabel, "00:00");

    float buttonLeft = W / 2 + 600;
    for (VistaButton* button : Knop) {
        Place(button, buttonLeft, H - 1830, 900, 630);
        buttonLeft += 930;
    }
    Place(ExitKnop, W - 1530, H - 1830, 900, 630);

    PlaceWidth(Drive1, 615, 600, LW1 / 2);
    SetColors(Drive1, kListBack, kListText);
    Place(Dir1, 615, 1050, LW1 / 2, 2520);
    SetColors(Dir1, kListBack, kListText);
    Place(Pic1, LW1 / 2 + 750, 600, LW1 / 2 - 165, 2970);

    Place(MenuPic, 600, H - 1050, W - 1200, 450);
    const float MW = WidthOf(MenuPic);
    SetBack(MenuPic, kPanelBack);
    PlaceAt(Label1, 90, 60);
    if (firstPass) SetCaption(Label1, "0 Songs");
    PlaceAt(Label2, LW1 / 1.5f, 60);
    if (firstPass) SetCaption(Label2, "Totaal : 00:00:00");
    PlaceRightAligned(Label5, MW - 1110, 60, "00:00:00");
    if (firstPass) SetCaption(Label5, "Totaal : 00:00:00");
}

}  // namespace tunekist
