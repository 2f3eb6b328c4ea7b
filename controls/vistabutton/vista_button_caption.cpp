#include <algorithm>
#include <limits>

#include "controls/vistabutton/rounding.h"
#include "controls/vistabutton/vista_button.h"
#include "platform/drawing/draw_text.h"

namespace tunekist {
namespace {

// The grey of a disabled caption.
constexpr ColorValue DisabledTextColor = 0x00838383;

// Inner margin kept free on every side, and the gap between picture and caption.
constexpr int Margin = 3;
constexpr int PictureGap = 5;

std::int16_t ClampToInteger16(std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

double VistaButton::FrameWidth() const {
    // A frame count below one would divide by zero; treat it as one.
    return fields_.PictureWidth / static_cast<double>(std::max<std::int16_t>(fields_.Pictures, 1));
}

void VistaButton::MeasurePicture() {
    const PictureObject& picture = fields_.Picture;
    if (!picture || picture->Height() < 1 || picture->Width() < 1) {
        fields_.PictureDC.reset();
        return;
    }
    std::unique_ptr<MemoryDC> dc = CreateCompatibleDC(surface_);
    DeleteObject(SelectObject(*dc, picture->Handle()));
    // Replacing the context releases the one of the previous picture.
    fields_.PictureDC = std::move(dc);
    fields_.PictureWidth = ToInteger16(HiMetricToPixels(picture->Width()));
    fields_.PictureHeight = ToInteger16(HiMetricToPixels(picture->Height()));
}

void VistaButton::DrawCaption() {
    const int W = ToInteger32(ScaleWidth());
    const int H = ToInteger32(ScaleHeight());
    RECT R{0, 0, W, H};
    SetTextColor(surface_, fields_.Enabled ? fields_.ForeColor : DisabledTextColor);
    const QByteArray text = fields_.Caption.toLatin1();
    const std::string_view caption(text.constData(), static_cast<std::size_t>(text.size()));
    const int h = DrawTextA(surface_, caption, R, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    std::int32_t TW = R.right;
    std::int16_t clip = 0;
    DrawPicture(TW, clip);
    RECT D;
    D.left = fields_.PictureDC ? ToInteger32(FrameWidth() + 8 - clip) : Margin;
    D.top = ToInteger32((H - h) / 2.0);
    D.right = ToInteger32(W - Margin);
    D.bottom = ToInteger32((H + h) / 2.0);
    DrawTextA(surface_, caption, D, clip <= 0 ? DT_WORDBREAK | DT_CENTER : DT_WORDBREAK);
}

void VistaButton::DrawPicture(std::int32_t& TextWidth, std::int16_t& PictureClip) {
    if (!fields_.PictureDC) {
        PictureClip = 0;
        return;
    }
    const double W = ScaleWidth();
    const double H = ScaleHeight();
    const double FW = FrameWidth();
    const float pictureHeight = fields_.PictureHeight;
    double X = fields_.Caption.isEmpty() ? (W - FW) / 2 : (W - TextWidth - FW - PictureGap) / 2;
    std::int16_t Y = ToInteger16(static_cast<float>((static_cast<float>(H) - pictureHeight) / 2.0F));
    if (fields_.IsDown) {
        X += fields_.PictureOffset;
        // An offset that would carry Y past the 16-bit range stops at its end.
        Y = ClampToInteger16(std::int32_t{Y} + fields_.PictureOffset);
    }
    double WAdj = 0;
    if (X + FW > W - Margin) WAdj = (W - Margin) - X - FW;
    double SX = 0;
    if (X < Margin) {
        SX = Margin - X;
        X = Margin;
    }
    double HAdj = 0;
    if (static_cast<float>(H - Margin) < pictureHeight + static_cast<float>(Y)) {
        HAdj = RoundHalfEven(H - Margin - Y - pictureHeight);
    }
    double SY = 0;
    if (Y < Margin) {
        SY = Margin - Y;
        Y = Margin;
    }
    int k = 0;
    if (fields_.Pictures > 1 && !fields_.Enabled) k = 1;
    if (fields_.Pictures == 3 && fields_.Enabled && fields_.IsDown) k = 2;
    const int w = ToInteger32(FW - SX + WAdj);
    const int hgt = ToInteger32(pictureHeight - SY + HAdj);
    const int sourceX = ToInteger32(k * FW + SX);
    const int sourceY = ToInteger32(SY);
    const int destX = ToInteger32(X);
    const int destY = Y;
    if (fields_.UseMaskColor) {
        TransparentBlt(surface_, destX, destY, w, hgt, *fields_.PictureDC, sourceX, sourceY, w, hgt, fields_.MaskColor);
    } else {
        BitBlt(surface_, destX, destY, w, hgt, *fields_.PictureDC, sourceX, sourceY, SRCCOPY);
    }
    PictureClip = ToInteger16(SX);
}

}  // namespace tunekist
