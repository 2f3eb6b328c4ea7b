#include <array>
#include <stdexcept>

#include "controls/vistabutton/button_palette.h"
#include "controls/vistabutton/rounding.h"
#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/gradient_fill.h"

namespace tunekist {
namespace {

// The faces' height is split at H / 2.2: the upper gradient ends above this row.
constexpr double SplitRatio = 2.2;

ColorValue ToColorValue(const PaletteColor& color) {
    return RGB(static_cast<std::uint8_t>(color.R), static_cast<std::uint8_t>(color.G),
               static_cast<std::uint8_t>(color.B));
}

// The pixels of one corner, each a point and the edge colour it takes.
struct CornerPixel {
    int x;
    int y;
    int edge;
};

constexpr std::array<CornerPixel, 10> TopCorner = {
    {{1, 0, 2}, {2, 0, 3}, {0, 1, 4}, {1, 1, 5}, {2, 1, 6}, {0, 2, 7}, {1, 2, 8}, {2, 2, 9}, {0, 3, 10}, {1, 3, 11}}};

// Bottom corners count their rows up from the last one (dy 1 is row H - 1).
constexpr std::array<CornerPixel, 8> BottomCorner = {
    {{1, 1, 12}, {2, 1, 13}, {0, 2, 14}, {1, 2, 15}, {2, 2, 16}, {0, 3, 17}, {1, 3, 18}, {2, 3, 19}}};

}  // namespace

std::int16_t VistaButton::ToColor16(std::uint8_t Value) {
    std::int32_t result = Value * 256;
    if (Value > 127) {
        result -= 65536;
    }
    return static_cast<std::int16_t>(result);
}

VertexColor VistaButton::ToVertexColor(std::int16_t R, std::int16_t G, std::int16_t B) {
    const auto toByte = [](std::int16_t channel) {
        if (channel < 0 || channel > 255) {
            throw std::overflow_error("colour channel outside 0..255");
        }
        return static_cast<std::uint8_t>(channel);
    };
    return VertexColor{ToColor16(toByte(R)), ToColor16(toByte(G)), ToColor16(toByte(B))};
}

void VistaButton::DrawGradient(std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2, VertexColor Color1,
                               VertexColor Color2, Canvas& DC) {
    const std::array<TRIVERTEX, 2> vertices = {{
        {X1, Y1, static_cast<std::uint16_t>(Color1.Red), static_cast<std::uint16_t>(Color1.Green),
         static_cast<std::uint16_t>(Color1.Blue), 0},
        {X2, Y2, static_cast<std::uint16_t>(Color2.Red), static_cast<std::uint16_t>(Color2.Green),
         static_cast<std::uint16_t>(Color2.Blue), 0},
    }};
    const GRADIENT_RECT rect{0, 1};
    // A band the platform refuses is simply missing; painting goes on.
    GradientFill(DC, vertices.data(), 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void VistaButton::DrawStateAccents(std::int32_t State, int W, int H, int M) {
    Canvas& dc = surface_;
    const auto i16 = [](int value) { return ToInteger16(value); };
    if (State == StateDown) {
        dc.Line(3, 2, 6, 2, RGB(220, 237, 246));
        dc.Line(W - 4, 2, W - 7, 2, RGB(220, 237, 246));
        dc.Line(3, H - 3, 6, H - 3, RGB(109, 181, 220));
        dc.PSet(2, 3, RGB(220, 237, 245));
        dc.PSet(W - 3, 3, RGB(220, 237, 245));
    }

    if (State == StateFocus) {
        dc.Line(3, 2, W - 4, 2, RGB(166, 233, 251));
        dc.Line(3, H - 3, W - 4, H - 3, RGB(132, 213, 239));
        const VertexColor upperTop = ToVertexColor(165, 232, 251);
        const VertexColor upperBottom = ToVertexColor(161, 230, 249);
        const VertexColor lowerTop = ToVertexColor(146, 222, 245);
        const VertexColor lowerBottom = ToVertexColor(133, 213, 240);
        DrawGradient(2, 3, 3, i16(M), upperTop, upperBottom, dc);
        DrawGradient(i16(W - 2), 3, i16(W - 3), i16(M), upperTop, upperBottom, dc);
        DrawGradient(2, i16(M), 3, i16(H - 3), lowerTop, lowerBottom, dc);
        DrawGradient(i16(W - 2), i16(M), i16(W - 3), i16(H - 3), lowerTop, lowerBottom, dc);
    }
}

void VistaButton::DrawButton(std::int32_t& State) {
    const int W = ToInteger32(ScaleWidth());
    const int H = ToInteger32(ScaleHeight());
    const int M = ToInteger32(H / SplitRatio);
    const auto i16 = [](int value) { return ToInteger16(value); };

    if (fields_.NoBackground && (State == StateNormal || State == StateFocus || State == StateDisabled)) {
        Cls();
        DrawCaption();
        return;
    }

    const StatePalette& palette = PaletteOf(State);
    std::array<VertexColor, 8> BandColors;
    for (std::size_t i = 0; i < BandColors.size(); ++i) {
        BandColors[i] = ToVertexColor(palette.Bands[i].R, palette.Bands[i].G, palette.Bands[i].B);
    }
    std::array<ColorValue, 21> EdgeColors;
    for (std::size_t i = 0; i < EdgeColors.size(); ++i) {
        EdgeColors[i] = ToColorValue(palette.Edges[i]);
    }
    const auto& G = BandColors;
    const auto& E = EdgeColors;

    Cls();
    Canvas& dc = surface_;
    DrawGradient(2, 2, i16(W - 2), i16(M), G[0], G[1], dc);
    DrawGradient(2, i16(M), i16(W - 2), i16(H - 2), G[2], G[3], dc);
    DrawGradient(1, 3, 2, i16(M), G[4], G[5], dc);
    DrawGradient(i16(W - 2), 3, i16(W - 1), i16(M), G[4], G[5], dc);
    DrawGradient(1, i16(M), 2, i16(H - 3), G[6], G[7], dc);
    DrawGradient(i16(W - 1), i16(M), i16(W - 2), i16(H - 3), G[6], G[7], dc);

    DrawStateAccents(State, W, H, M);

    DrawCaption();

    dc.Line(0, 0, W - 1, H - 1, E[0]);
    dc.Line(3, 1, W - 4, 1, E[1]);
    dc.Line(3, H - 2, W - 4, H - 2, E[20]);

    for (const CornerPixel& p : TopCorner) dc.PSet(p.x, p.y, E[static_cast<std::size_t>(p.edge)]);
    for (const CornerPixel& p : TopCorner) dc.PSet(W - 1 - p.x, p.y, E[static_cast<std::size_t>(p.edge)]);
    for (const CornerPixel& p : BottomCorner) dc.PSet(p.x, H - p.y, E[static_cast<std::size_t>(p.edge)]);
    for (const CornerPixel& p : BottomCorner) dc.PSet(W - 1 - p.x, H - p.y, E[static_cast<std::size_t>(p.edge)]);
}

}  // namespace tunekist
