#include "platform/engine/shared_audio_output.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tunekist {

struct SharedAudioOutput::Device {
    explicit Device(int sampleRate)
        : rate(sampleRate),
          scratch(std::size_t{SdlAudioOutput::kDeviceFrames} * 2),
          output(sampleRate, [this](std::span<std::int16_t> out) { Mix(out); }) {
        // Always running: with no source playing the callback plays silence.
        output.Play();
    }

    // Runs on SDL's audio thread, with the device held.
    void Mix(std::span<std::int16_t> out);
    bool Unused() {
        bool unused = false;
        output.WhileHeld([&] { unused = sources.empty(); });
        return unused;
    }

    const int rate;
    std::list<Attachment::Source> sources;  // changed only while the device is held
    std::vector<std::int16_t> scratch;
    SdlAudioOutput output;  // last: opened once the rest exists, closed before it goes
};

void SharedAudioOutput::Device::Mix(std::span<std::int16_t> out) {
    bool filled = false;
    for (Attachment::Source& source : sources) {
        if (!source.playing) continue;
        if (!filled) {
            // The usual case, one song: its samples go to the device untouched.
            source.pull(out);
            filled = true;
            continue;
        }
        for (std::size_t done = 0; done < out.size(); done += scratch.size()) {
            const std::span<std::int16_t> part = out.subspan(done, std::min(scratch.size(), out.size() - done));
            const std::span<std::int16_t> theirs = std::span(scratch).first(part.size());
            source.pull(theirs);
            for (std::size_t i = 0; i < part.size(); ++i) {
                const int sum = part[i] + theirs[i];
                part[i] = static_cast<std::int16_t>(std::clamp(sum, int{std::numeric_limits<std::int16_t>::min()},
                                                               int{std::numeric_limits<std::int16_t>::max()}));
            }
        }
    }
    if (!filled) std::fill(out.begin(), out.end(), std::int16_t{0});
}

SharedAudioOutput& SharedAudioOutput::Instance() {
    // Never destroyed: closing the devices as the program ends would make it wait for SDL's
    // drain (over a second with some sound servers) for nothing; ending the process closes them.
    static auto* const instance = new SharedAudioOutput;
    return *instance;
}

SharedAudioOutput::Attachment SharedAudioOutput::Attach(int sampleRate, Pull pull) {
    const std::lock_guard lock(mutex_);
    // Lost devices, and devices at another rate, go once nothing uses them. Closing waits for
    // the drain; it happens only after a loss or at a change of sample rate.
    std::erase_if(devices_, [&](const std::shared_ptr<Device>& device) {
        return (device->output.Lost() || device->rate != sampleRate) && device->Unused();
    });
    auto found = std::find_if(devices_.begin(), devices_.end(), [&](const std::shared_ptr<Device>& device) {
        return device->rate == sampleRate && !device->output.Lost();
    });
    std::shared_ptr<Device> device;
    if (found != devices_.end()) {
        device = *found;
    } else {
        device = std::make_shared<Device>(sampleRate);
        devices_.push_back(device);
    }
    std::list<Attachment::Source>::iterator source;
    device->output.WhileHeld([&] { source = device->sources.insert(device->sources.end(), {std::move(pull)}); });
    return Attachment(std::move(device), source);
}

SharedAudioOutput::Attachment::Attachment(std::shared_ptr<Device> device, std::list<Source>::iterator source)
    : device_(std::move(device)), source_(source) {}

SharedAudioOutput::Attachment::~Attachment() {
    device_->output.WhileHeld([&] { device_->sources.erase(source_); });
}

void SharedAudioOutput::Attachment::Play() {
    device_->output.WhileHeld([&] { source_->playing = true; });
}

void SharedAudioOutput::Attachment::Pause() {
    device_->output.WhileHeld([&] { source_->playing = false; });
}

bool SharedAudioOutput::Attachment::Lost() const { return device_->output.Lost(); }

void SharedAudioOutput::Attachment::WhileHeld(const std::function<void()>& change) {
    device_->output.WhileHeld(change);
}

}  // namespace tunekist
