#pragma once

#include <QImage>
#include <cstdint>
#include <memory>

#include "platform/drawing/canvas.h"

namespace tunekist {

// A bitmap: shared, unchangeable pixels. An empty bitmap has no pixels.
class Bitmap {
public:
    Bitmap() = default;
    explicit Bitmap(QImage pixels) : pixels_(std::make_shared<const QImage>(std::move(pixels))) {}

    bool IsEmpty() const { return !pixels_ || pixels_->isNull(); }
    // The pixels; an empty image for an empty bitmap.
    QImage Pixels() const { return pixels_ ? *pixels_ : QImage(); }

private:
    std::shared_ptr<const QImage> pixels_;
};

// A picture object: a bitmap with its size in HiMetric units (0.01 mm), as pictures report it.
class Picture {
public:
    explicit Picture(QImage pixels);

    const Bitmap& Handle() const { return bitmap_; }
    // Size in HiMetric, rounded: pixels at 96 dots per inch times 2540 / 96.
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }

private:
    Bitmap bitmap_;
    std::int32_t width_;
    std::int32_t height_;
};

// Converts a HiMetric length to pixels at the screen's 96 dots per inch (fraction kept).
double HiMetricToPixels(double hiMetric);

// A memory drawing surface holding one selected bitmap; it starts with an empty one. The
// context owns what is selected into it, so destroying the context releases it.
class MemoryDC {
public:
    // Selects `bitmap` and returns the object that was selected before.
    Bitmap SelectObject(Bitmap bitmap);
    QImage Pixels() const { return selected_.Pixels(); }

private:
    Bitmap selected_;
};

// A new memory context compatible with `dc`. The returned owner releases it (DeleteDC).
std::unique_ptr<MemoryDC> CreateCompatibleDC(const Canvas& dc);

// Selects `object` into `dc` and returns the previously selected object.
Bitmap SelectObject(MemoryDC& dc, Bitmap object);

// Frees a drawing object handed back by SelectObject.
void DeleteObject(Bitmap&& object);

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;

// Copies the width × height block at (xSrc, ySrc) of `source` to (x, y) of `dest`. Pixels
// outside either image are left out. Returns false, copying nothing, for a width or height
// below one or a raster operation other than SRCCOPY.
bool BitBlt(Canvas& dest, int x, int y, int width, int height, const MemoryDC& source, int xSrc, int ySrc,
            std::uint32_t rop);

// As BitBlt, but pixels of `transparent` colour in the source are not copied. Source and
// destination sizes must be equal (no stretching); otherwise nothing is copied and false is
// returned.
bool TransparentBlt(Canvas& dest, int x, int y, int width, int height, const MemoryDC& source, int xSrc, int ySrc,
                    int widthSrc, int heightSrc, ColorValue transparent);

}  // namespace tunekist
