#include "platform/drawing/region.h"

#include <QWidget>

namespace tunekist {

Region CreateRectRgn(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) {
        return Region();
    }
    return Region(QRegion(left, top, right - left, bottom - top));
}

int CombineRgn(Region& destination, const Region& source1, const Region& source2, int mode) {
    QRegion result;
    switch (mode) {
        case RGN_AND: result = source1.Area().intersected(source2.Area()); break;
        case RGN_OR: result = source1.Area().united(source2.Area()); break;
        case RGN_XOR: result = source1.Area().xored(source2.Area()); break;
        case RGN_DIFF: result = source1.Area().subtracted(source2.Area()); break;
        case RGN_COPY: result = source1.Area(); break;
        default: return RGN_ERROR;
    }
    destination.SetArea(result);
    if (result.isEmpty()) {
        return NULLREGION;
    }
    return result.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void DeleteObject(Region&& region) { Region released = std::move(region); }

void SetWindowRgn(QWidget& window, Region&& region, bool redraw) {
    const Region owned = std::move(region);
    if (owned.Area().isEmpty()) {
        // The toolkit reads an empty mask as "no mask", which would show the whole window; a
        // mask lying wholly outside the window shows none of it, as an empty region must.
        window.setMask(QRegion(-1, -1, 1, 1));
    } else {
        window.setMask(owned.Area());
    }
    if (redraw) {
        window.update();
    }
}

}  // namespace tunekist
