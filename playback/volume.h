#pragma once
#include <cstdint>

#include "platform/ui/slider.h"
#include "playback/playback_state.h"

namespace tunekist {

// The volume slider: value 0 (top, loudest) to 20 (40 dB down), shown as "Volume N%".
class VolumeControl {
public:
    VolumeControl(PlaybackState& state, Slider& VolSlider) : state_(state), VolSlider_(VolSlider) {}

    // Gives the current engine the slider's level and refreshes the slider's text. Without an
    // engine it does nothing at all; every failure after taking the engine is ignored.
    void AdjustVolume();
    // Sets the slider's text from its value.
    void SetSliderText();

    // The slider's events.
    void VolSlider_Click();
    void VolSlider_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y);
    void VolSlider_Scroll();
    void VolSlider_Change();

private:
    PlaybackState& state_;
    Slider& VolSlider_;
};

// The volume the slider's text shows for slider value `v`, in percent: 100 at the top, 0 at the
// bottom. Throws std::overflow_error where 32-bit arithmetic would overflow.
std::int32_t VolumePercentage(std::int32_t v);

// The engine level in hundredths of a decibel for slider value `v`: -200 v. Throws
// std::overflow_error where 32-bit arithmetic would overflow.
std::int32_t VolumeLevel(std::int32_t v);

}  // namespace tunekist
