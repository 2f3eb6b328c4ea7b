#include <algorithm>

#include "controls/vistabutton/bag_values.h"
#include "controls/vistabutton/vista_button.h"

namespace tunekist {
namespace {

constexpr ColorValue PureGreen = 65280;

std::string ToBagText(const QString& text) { return text.toUtf8().toStdString(); }

QString FromBagText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void VistaButton::SetCaption(const QString& nValue) {
    fields_.Caption = nValue;
    Resize();
}

void VistaButton::SetForeColor(ColorValue nValue) {
    fields_.ForeColor = nValue;
    Resize();
}

void VistaButton::SetFont(const QFont& nValue) {
    surface_.SetFont(nValue);
    Resize();
}

void VistaButton::SetPicture(PictureObject nValue) {
    fields_.Picture = std::move(nValue);
    MeasurePicture();
    Resize();
}

void VistaButton::SetPictures(std::int16_t nValue) {
    // The count divides the picture's width, so it never drops below one.
    fields_.Pictures = std::clamp<std::int16_t>(nValue, 1, 2);
    Resize();
}

void VistaButton::SetUseMaskColor(bool nValue) {
    fields_.UseMaskColor = nValue;
    Resize();
}

void VistaButton::SetMaskColor(ColorValue nValue) {
    fields_.MaskColor = nValue;
    Resize();
}

void VistaButton::SetEnabled(bool nValue) {
    fields_.Enabled = nValue;
    fields_.ButtonState = nValue ? StateNormal : StateDisabled;
    UpdateTabStop();
    Resize();
}

void VistaButton::SetNoBackground(bool nValue) {
    fields_.NoBackground = nValue;
    Resize();
}

void VistaButton::SetBackColor(ColorValue nValue) {
    backColor_ = nValue;
    Resize();
}

void VistaButton::SetPictureOffset(std::int16_t nValue) { fields_.PictureOffset = nValue; }

void VistaButton::InitProperties() {
    fields_.ForeColor = 0;
    fields_.Caption = AmbientDisplayName();
    QFont font = surface_.Font();
    font.setFamily(QStringLiteral("Arial"));
    surface_.SetFont(font);
    fields_.Pictures = 2;
    SetUseMaskColor(true);
    fields_.MaskColor = PureGreen;
    fields_.Enabled = true;
}

void VistaButton::ReadProperties(const PropertyBag& PropBag) {
    fields_.Caption = FromBagText(ReadString(PropBag, "Caption", ToBagText(fields_.Caption)));
    fields_.ForeColor = ReadColor(PropBag, "ForeColor", fields_.ForeColor);
    surface_.SetFont(ReadFont(PropBag, "Font", surface_.Font()));
    // The surface's own picture setting, the default for a bag without one, is always none.
    fields_.Picture = ReadPicture(PropBag, "Picture", nullptr);
    // A stored frame count below one would divide by zero; treat it as one.
    fields_.Pictures = std::max<std::int16_t>(ReadInteger(PropBag, "Pictures", fields_.Pictures), 1);
    fields_.UseMaskColor = ReadBoolean(PropBag, "UseMaskColor", fields_.UseMaskColor);
    fields_.MaskColor = ReadColor(PropBag, "MaskColor", fields_.MaskColor);
    fields_.Enabled = ReadBoolean(PropBag, "Enabled", fields_.Enabled);
    fields_.NoBackground = ReadBoolean(PropBag, "NoBackground", fields_.NoBackground);
    backColor_ = ReadColor(PropBag, "BackColor", SystemButtonFace);
    fields_.PictureOffset = ReadInteger(PropBag, "PictureOffset", fields_.PictureOffset);
    MeasurePicture();
    if (!fields_.Enabled) {
        fields_.ButtonState = StateDisabled;
    }
    UpdateTabStop();
    Resize();
}

void VistaButton::WriteProperties(PropertyBag& PropBag) const {
    WriteString(PropBag, "Caption", ToBagText(fields_.Caption));
    WriteColor(PropBag, "ForeColor", fields_.ForeColor);
    WriteFont(PropBag, "Font", surface_.Font());
    WritePicture(PropBag, "Picture", fields_.Picture);
    WriteInteger(PropBag, "Pictures", fields_.Pictures);
    WriteBoolean(PropBag, "UseMaskColor", fields_.UseMaskColor);
    WriteColor(PropBag, "MaskColor", fields_.MaskColor);
    WriteBoolean(PropBag, "Enabled", fields_.Enabled);
    WriteBoolean(PropBag, "NoBackground", fields_.NoBackground);
    WriteColor(PropBag, "BackColor", backColor_);
    WriteInteger(PropBag, "PictureOffset", fields_.PictureOffset);
}

void VistaButton::UpdateTabStop() {
    if (!AmbientUserMode()) {
        return;
    }
    if (fields_.Enabled) {
        if (fields_.TabStopSaved && ExtenderTabStop() != fields_.SavedTabStop) {
            SetExtenderTabStop(fields_.SavedTabStop);
        }
    } else if (ExtenderTabStop()) {
        fields_.SavedTabStop = ExtenderTabStop();
        SetExtenderTabStop(false);
        fields_.TabStopSaved = true;
    }
}

}  // namespace tunekist
