#include "tests/vistabutton/button_fixture.h"

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace tunekist::testing {

PropertyBag CommandButtonBag(const std::string& caption) {
    const std::string text = "Begin VistaButton Knop(0)\n"
                             "   Caption = \"" + caption + "\"\n"
                             "   ForeColor = 0x00000000\n"
                             "   Font = \"Arial\" 8.25 400 0 0 0 0\n"
                             "   Picture = None\n"
                             "   Pictures = 2\n"
                             "   UseMaskColor = -1\n"
                             "   MaskColor = 0x0000FF00\n"
                             "   Enabled = -1\n"
                             "   NoBackground = 0\n"
                             "   BackColor = 0x00FFFFFF\n"
                             "   PictureOffset = 0\n"
                             "End\n";
    return ParseStoredControls(text).front().bag;
}

HostedButton::HostedButton(int width, int height, const std::string& caption) : host(std::make_unique<QWidget>()) {
    host->setGeometry(200, 200, width + 60, height + 60);
    // Another control of the window holds the focus first, as the song list does in the player.
    auto* other = new QWidget(host.get());
    other->setGeometry(0, 0, 10, 10);
    other->setFocusPolicy(Qt::StrongFocus);
    button = new VistaButton(host.get());
    button->setObjectName(QStringLiteral("Knop(0)"));
    button->setGeometry(20, 20, width, height);
    button->ReadProperties(CommandButtonBag(caption));
    host->show();
    // Focus reaches a widget only in the active window.
    QApplication::setActiveWindow(host.get());
    PointAway();
}

QImage HostedButton::Rendered() const { return button->grab().toImage().convertToFormat(QImage::Format_RGB32); }

ColorValue HostedButton::Pixel(int x, int y) const { return FromPixel(Rendered().pixel(x, y)); }

void HostedButton::PointAt(QPoint local) {
    QCursor::setPos(button->mapToGlobal(local));
    QTest::mouseMove(button, local);
}

void HostedButton::PointAway() { QCursor::setPos(host->mapToGlobal(QPoint(2, 2))); }

std::string Rgb(ColorValue color) {
    return std::to_string(RedOf(color)) + "," + std::to_string(GreenOf(color)) + "," + std::to_string(BlueOf(color));
}

}  // namespace tunekist::testing
