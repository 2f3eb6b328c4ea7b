#include "playback/volume.h"

#include "platform/ignore_error.h"
#include "playback/checked_math.h"

namespace tunekist {

std::int32_t VolumeLevel(std::int32_t v) { return CheckedSub(CheckedMul(CheckedMul(CheckedSub(20, v), 5), 40), 4000); }

void VolumeControl::AdjustVolume() {
    if (!state_.Graph) return;
    state_.GraphAudio = state_.Graph;
    std::int32_t v = 0;
    std::int32_t level = 0;
    IgnoreError([&] { v = VolSlider_.Value(); });
    IgnoreError([&] { level = VolumeLevel(v); });
    IgnoreError([&] { state_.GraphAudio->put_Volume(level); });
    IgnoreError([&] { SetSliderText(); });
}

std::int32_t VolumePercentage(std::int32_t v) { return CheckedSub(100, CheckedMul(5, v)); }

void VolumeControl::SetSliderText() {
    VolSlider_.SetText("Volume " + std::to_string(VolumePercentage(VolSlider_.Value())) + "%");
}

void VolumeControl::VolSlider_Click() { SetSliderText(); }

void VolumeControl::VolSlider_MouseDown(std::int16_t, std::int16_t, float, float) { SetSliderText(); }

void VolumeControl::VolSlider_Scroll() {
    SetSliderText();
    AdjustVolume();
}

void VolumeControl::VolSlider_Change() {
    SetSliderText();
    AdjustVolume();
}

}  // namespace tunekist
