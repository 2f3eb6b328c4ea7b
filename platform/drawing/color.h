#pragma once

#include <QRgb>
#include <cstdint>

namespace tunekist {

// A colour as the button control stores it: 0x00BBGGRR (red in the low byte). A value with the
// top bit set, 0x80000000 plus n, names the system colour n.
using ColorValue = std::uint32_t;

// The system's button-face colour, the default background of a loaded button.
inline constexpr ColorValue SystemButtonFace = 0x8000000FU;

// Builds 0x00BBGGRR from three 8-bit channels.
constexpr ColorValue RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorValue{red} | (ColorValue{green} << 8) | (ColorValue{blue} << 16);
}

constexpr std::uint8_t RedOf(ColorValue color) { return color & 0xFFU; }
constexpr std::uint8_t GreenOf(ColorValue color) { return (color >> 8) & 0xFFU; }
constexpr std::uint8_t BlueOf(ColorValue color) { return (color >> 16) & 0xFFU; }

// Resolves a colour value to the pixel it paints; system colours are taken from the
// application's palette (button face, window, text and so on), unknown ones from its window
// colour.
QRgb ToPixel(ColorValue color);

// The colour value of an opaque pixel.
constexpr ColorValue FromPixel(QRgb pixel) {
    return RGB(static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
               static_cast<std::uint8_t>(qBlue(pixel)));
}

}  // namespace tunekist
