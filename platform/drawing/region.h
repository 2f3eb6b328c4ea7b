#pragma once

#include <QRegion>

class QWidget;

namespace tunekist {

// A window region: a set of pixels, owned by exactly one holder at a time. Moving a region
// hands it on; the last holder's destructor frees it.
class Region {
public:
    Region() = default;
    explicit Region(QRegion area) : area_(std::move(area)) {}
    Region(Region&&) noexcept = default;
    Region& operator=(Region&&) noexcept = default;
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;

    const QRegion& Area() const { return area_; }
    void SetArea(QRegion area) { area_ = std::move(area); }

private:
    QRegion area_;
};

inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// A new rectangular region; right and bottom are exclusive. An empty rectangle gives an empty
// region.
Region CreateRectRgn(int left, int top, int right, int bottom);

// Sets `destination` to `source1` combined with `source2` by `mode` (RGN_DIFF: the pixels of
// source1 that are not in source2). Returns NULLREGION, SIMPLEREGION or COMPLEXREGION for
// the result, or RGN_ERROR, leaving `destination` alone, for an unknown mode.
int CombineRgn(Region& destination, const Region& source1, const Region& source2, int mode);

// Frees a region that nothing else owns.
void DeleteObject(Region&& region);

// Gives `window` the region as its visible and clickable shape: pixels outside it are neither
// drawn nor hit, so clicks there reach whatever lies behind. The window owns the region from
// then on. An empty region makes the whole window invisible. `redraw` repaints it at once.
void SetWindowRgn(QWidget& window, Region&& region, bool redraw);

}  // namespace tunekist
