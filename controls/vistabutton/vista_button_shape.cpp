#include "controls/vistabutton/rounding.h"
#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/region.h"

namespace tunekist {

void VistaButton::Resize() {
    SyncSurfaceSize();
    std::int32_t state = fields_.ButtonState;
    DrawButton(state);
    if (ScaleWidth() != fields_.LastWidth || ScaleHeight() != fields_.LastHeight) {
        BuildRegion();
        fields_.LastWidth = ToInteger16(ScaleWidth());
        fields_.LastHeight = ToInteger16(ScaleHeight());
    }
    Refresh();
}

void VistaButton::BuildRegion() {
    const int W = ToInteger32(ScaleWidth());
    const int H = ToInteger32(ScaleHeight());
    Region base = CreateRectRgn(0, 0, W, H);
    // The four corner pixels fall away, so the painted corner shading reads as a rounded edge.
    const int corners[4][4] = {{0, 0, 1, 1}, {0, H - 1, 1, H}, {W - 1, 0, W, 1}, {W - 1, H - 1, W, H}};
    for (const auto& corner : corners) {
        Region pixel = CreateRectRgn(corner[0], corner[1], corner[2], corner[3]);
        CombineRgn(base, base, pixel, RGN_DIFF);
        DeleteObject(std::move(pixel));
    }
    // The window owns the outline from here on.
    SetWindowRgn(*this, std::move(base), true);
}

}  // namespace tunekist
