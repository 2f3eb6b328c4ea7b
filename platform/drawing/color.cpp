#include "platform/drawing/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace tunekist {
namespace {

QPalette::ColorRole SystemColorRole(std::uint32_t index) {
    switch (index) {
        case 5: return QPalette::Base;  // window background
        case 8: return QPalette::Text;  // window text
        case 13: return QPalette::Highlight;
        case 14: return QPalette::HighlightedText;
        case 15: return QPalette::Button;  // button face
        case 16: return QPalette::Dark;    // button shadow
        case 18: return QPalette::ButtonText;
        case 20: return QPalette::Light;  // button highlight
        default: return QPalette::Window;
    }
}

}  // namespace

QRgb ToPixel(ColorValue color) {
    if ((color & 0x80000000U) != 0) {
        const QColor system = QGuiApplication::palette().color(SystemColorRole(color & 0xFFFFFFU));
        return qRgb(system.red(), system.green(), system.blue());
    }
    return qRgb(RedOf(color), GreenOf(color), BlueOf(color));
}

}  // namespace tunekist
