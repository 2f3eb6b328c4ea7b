#pragma once

#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "controls/vistabutton/property_bag.h"
#include "controls/vistabutton/vista_button_events.h"
#include "platform/drawing/canvas.h"
#include "platform/drawing/memory_dc.h"

namespace tunekist {

// The visual states a button paints.
enum : std::int32_t { StateNormal = 0, StateHover = 1, StateDown = 2, StateFocus = 3, StateDisabled = 4 };

// A picture shared between whoever assigned it and the button.
using PictureObject = std::shared_ptr<const Picture>;

// The 16-bit colour channels of one gradient vertex: each an 8-bit channel times 256, read as
// a signed 16-bit number.
struct VertexColor {
    std::int16_t Red = 0;
    std::int16_t Green = 0;
    std::int16_t Blue = 0;
};

// The instance data of a button, in its declared order. Everything starts at zero, False,
// empty or none.
struct VistaButtonFields {
    QString Caption;
    ColorValue ForeColor = 0;
    PictureObject Picture;
    std::int16_t Pictures = 0;
    bool UseMaskColor = false;
    ColorValue MaskColor = 0;
    bool NoBackground = false;
    std::int16_t PictureOffset = 0;
    std::unique_ptr<MemoryDC> PictureDC;  // null while there is no usable picture
    std::int16_t PictureWidth = 0;
    std::int16_t PictureHeight = 0;
    bool HasFocus = false;
    bool Enabled = false;
    bool SavedTabStop = false;
    bool TabStopSaved = false;
    std::int32_t ButtonState = StateNormal;
    bool IsDown = false;
    std::int16_t LastWidth = 0;
    std::int16_t LastHeight = 0;
};

// An owner-drawn push button. It paints itself into a persistent pixel image in one of five
// states (two-tone gradients, a border with rounded corner shading, an optional picture and a
// caption), cuts its window to that rounded outline, and raises Click when released over itself
// or when Space is released. Its own Enabled flag filters input; the widget itself stays
// enabled. All work runs on the user-interface thread.
class VistaButton : public QWidget {
public:
    // Creates the surface and runs Initialize. The instance's name (its DisplayName) is the
    // widget's objectName.
    explicit VistaButton(QWidget* parent = nullptr);
    ~VistaButton() override;

    // --- Lifecycle -------------------------------------------------------------------------
    // Pixel units, a persistent image, StateNormal and not held down.
    void Initialize();
    // The values of a newly placed instance: black "Arial" caption named after the instance,
    // two frames, green mask colour in use, enabled.
    void InitProperties();
    // Loads the eleven stored properties (missing ones keep the current values; BackColor
    // defaults to the system button face), then measures the picture, takes the disabled look
    // when not enabled, updates the tab stop and paints. Raises PropertyBagError for a
    // malformed value.
    void ReadProperties(const PropertyBag& PropBag);
    // Stores all eleven properties, always, in their fixed order.
    void WriteProperties(PropertyBag& PropBag) const;

    // --- Properties (each Set stores and repaints unless said otherwise) ---------------------
    QWidget* hWnd() { return this; }
    QString Caption() const { return fields_.Caption; }
    void SetCaption(const QString& nValue);
    ColorValue ForeColor() const { return fields_.ForeColor; }
    void SetForeColor(ColorValue nValue);
    QFont Font() const { return surface_.Font(); }
    void SetFont(const QFont& nValue);
    PictureObject Picture() const { return fields_.Picture; }
    // Also measures the new picture.
    void SetPicture(PictureObject nValue);
    std::int16_t Pictures() const { return fields_.Pictures; }
    // Keeps the count within 1 to 2.
    void SetPictures(std::int16_t nValue);
    bool UseMaskColor() const { return fields_.UseMaskColor; }
    void SetUseMaskColor(bool nValue);
    ColorValue MaskColor() const { return fields_.MaskColor; }
    void SetMaskColor(ColorValue nValue);
    bool Enabled() const { return fields_.Enabled; }
    // Moves the look between StateNormal and StateDisabled and keeps a disabled button out of
    // the keyboard focus chain at run time.
    void SetEnabled(bool nValue);
    bool NoBackground() const { return fields_.NoBackground; }
    void SetNoBackground(bool nValue);
    ColorValue BackColor() const { return backColor_; }
    void SetBackColor(ColorValue nValue);
    std::int16_t PictureOffset() const { return fields_.PictureOffset; }
    // Stores only; the offset shows at the next repaint.
    void SetPictureOffset(std::int16_t nValue);

    // The host's handlers of the control's events.
    VistaButtonEvents& Events() { return events_; }
    // The instance data, for inspection.
    const VistaButtonFields& Fields() const { return fields_; }

    // --- Host services ---------------------------------------------------------------------
    // Ambient UserMode: True while the program runs (the default), False while designed.
    void SetAmbientUserMode(bool userMode) { userMode_ = userMode; }
    bool AmbientUserMode() const { return userMode_; }
    QString AmbientDisplayName() const { return objectName(); }
    // The extender's TabStop: whether the button is in the keyboard focus chain.
    bool ExtenderTabStop() const;
    void SetExtenderTabStop(bool tabStop);

    // --- Surface ---------------------------------------------------------------------------
    float ScaleWidth() const { return static_cast<float>(width()); }
    float ScaleHeight() const { return static_cast<float>(height()); }
    // The persistent image the button paints into.
    const Canvas& hDC() const { return surface_; }
    // Shows the persistent image.
    void Refresh();

    // --- Notifications of the surface, as the platform delivers them ---------------------------
    void Surface_Click();
    void Surface_GotFocus();
    void Surface_LostFocus();
    void Surface_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
    void Surface_KeyPress(std::int16_t& KeyAscii);
    void Surface_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
    void Surface_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y);
    void Surface_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y);
    void Surface_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& Y);
    void Surface_OLECompleteDrag(std::int32_t& Effect);
    void Surface_OLEDragDrop(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                             float& x, float& Y);
    void Surface_OLEDragOver(DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                             float& x, float& Y, std::int16_t& State);
    void Surface_OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors);
    void Surface_OLESetData(DataObject& Data, std::int16_t& DataFormat);
    void Surface_OLEStartDrag(DataObject& Data, std::int32_t& AllowedEffects);
    void Hover_Timer();
    // Whether the hover timer exists.
    bool HasHoverTimer() const { return Hover != nullptr; }

    // --- Shape and painting ----------------------------------------------------------------
    // Paints the current state, rebuilds the outline when the size changed, and shows the
    // image. Every repaint runs through here.
    void Resize();

    // The 16-bit form of an 8-bit channel: Value × 256 as a signed 16-bit bit pattern.
    static std::int16_t ToColor16(std::uint8_t Value);
    // Three channels 0..255 in vertex form; a channel outside 0..255 raises std::overflow_error.
    static VertexColor ToVertexColor(std::int16_t R, std::int16_t G, std::int16_t B);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct HoverTimerDeleter {
        void operator()(QTimer* timer) const;
    };

    void UpdateTabStop();
    void SetState(std::int32_t& NewState, bool& Changed);
    void SetState(std::int32_t NewState);
    void IsMouseOver(bool& Over) const;
    void StartHover();
    void StopHover();
    bool PointerInside(float x, float Y) const;
    void BuildRegion();
    void DrawButton(std::int32_t& State);
    // The pressed accents and the focus ring, drawn over the body in those states only.
    void DrawStateAccents(std::int32_t State, int W, int H, int M);
    void DrawGradient(std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2, VertexColor Color1,
                      VertexColor Color2, Canvas& DC);
    void MeasurePicture();
    void DrawCaption();
    void DrawPicture(std::int32_t& TextWidth, std::int16_t& PictureClip);
    double FrameWidth() const;
    void Cls();
    void SyncSurfaceSize();

    VistaButtonFields fields_;
    VistaButtonEvents events_;
    Canvas surface_;
    ColorValue backColor_ = 0x00FFFFFFU;
    bool userMode_ = true;
    // The surface's click notification needs a press and a release over the button.
    bool pressedOnSurface_ = false;
    std::unique_ptr<QTimer, HoverTimerDeleter> Hover;
};

}  // namespace tunekist
