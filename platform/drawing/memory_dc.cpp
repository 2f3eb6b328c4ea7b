#include "platform/drawing/memory_dc.h"

#include <cmath>

namespace tunekist {
namespace {

constexpr double HiMetricPerInch = 2540.0;
constexpr double PixelsPerInch = 96.0;

bool CopyBlock(Canvas& dest, int x, int y, int width, int height, const MemoryDC& source, int xSrc, int ySrc,
               const ColorValue* transparent) {
    if (width < 1 || height < 1) {
        return false;
    }
    const QImage pixels = source.Pixels();
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int sx = xSrc + column;
            const int sy = ySrc + row;
            if (sx < 0 || sy < 0 || sx >= pixels.width() || sy >= pixels.height()) {
                continue;
            }
            const ColorValue color = FromPixel(pixels.pixel(sx, sy));
            if (transparent == nullptr || color != *transparent) {
                dest.PSet(x + column, y + row, color);
            }
        }
    }
    return true;
}

}  // namespace

Picture::Picture(QImage pixels)
    : bitmap_(std::move(pixels)),
      width_(static_cast<std::int32_t>(std::lround(bitmap_.Pixels().width() * HiMetricPerInch / PixelsPerInch))),
      height_(static_cast<std::int32_t>(std::lround(bitmap_.Pixels().height() * HiMetricPerInch / PixelsPerInch))) {}

double HiMetricToPixels(double hiMetric) { return hiMetric * PixelsPerInch / HiMetricPerInch; }

Bitmap MemoryDC::SelectObject(Bitmap bitmap) {
    Bitmap previous = std::move(selected_);
    selected_ = std::move(bitmap);
    return previous;
}

std::unique_ptr<MemoryDC> CreateCompatibleDC(const Canvas&) { return std::make_unique<MemoryDC>(); }

Bitmap SelectObject(MemoryDC& dc, Bitmap object) { return dc.SelectObject(std::move(object)); }

void DeleteObject(Bitmap&& object) { object = Bitmap(); }

bool BitBlt(Canvas& dest, int x, int y, int width, int height, const MemoryDC& source, int xSrc, int ySrc,
            std::uint32_t rop) {
    if (rop != SRCCOPY) {
        return false;
    }
    return CopyBlock(dest, x, y, width, height, source, xSrc, ySrc, nullptr);
}

bool TransparentBlt(Canvas& dest, int x, int y, int width, int height, const MemoryDC& source, int xSrc, int ySrc,
                    int widthSrc, int heightSrc, ColorValue transparent) {
    if (width != widthSrc || height != heightSrc) {
        return false;
    }
    return CopyBlock(dest, x, y, width, height, source, xSrc, ySrc, &transparent);
}

}  // namespace tunekist
