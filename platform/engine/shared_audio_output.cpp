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
        output.Play();
    }

    // Runs on SDL's audio thread, with the device held.
    void Mix(std::span<std::int16_t> out);

    const int rate;
    std::vector<Source*> playing;                                    // changed only while the device is held
    std::optional<std::chrono::steady_clock::time_point> idleSince;  // guarded by the owner's mutex
    std::vector<std::int16_t> scratch;
    SdlAudioOutput output;  // last: opened once the rest exists, closed before it goes
};

void SharedAudioOutput::Device::Mix(std::span<std::int16_t> out) {
    if (playing.empty()) return std::fill(out.begin(), out.end(), std::int16_t{0});
    // The usual case, one song: its samples go to the device untouched.
    playing.front()->pull(out);
    for (auto source = playing.begin() + 1; source != playing.end(); ++source) {
        for (std::size_t done = 0; done < out.size(); done += scratch.size()) {
            const std::span<std::int16_t> part = out.subspan(done, std::min(scratch.size(), out.size() - done));
            const std::span<std::int16_t> theirs = std::span(scratch).first(part.size());
            (*source)->pull(theirs);
            for (std::size_t i = 0; i < part.size(); ++i) {
                const int sum = part[i] + theirs[i];
                part[i] = static_cast<std::int16_t>(std::clamp(sum, int{std::numeric_limits<std::int16_t>::min()},
                                                               int{std::numeric_limits<std::int16_t>::max()}));
            }
        }
    }
}

SharedAudioOutput& SharedAudioOutput::Instance() {
    // Never destroyed: closing the devices as the program ends would make it wait for SDL's
    // drain (over a second with some sound servers) for nothing; ending the process closes them.
    static auto* const instance = new SharedAudioOutput;
    return *instance;
}

SharedAudioOutput::SharedAudioOutput() : closer_([this](const std::stop_token& stop) { CloseIdleDevices(stop); }) {}

SharedAudioOutput::Attachment SharedAudioOutput::Attach(int sampleRate, Pull pull) {
    return Attachment(*this, sampleRate, std::move(pull));
}

int SharedAudioOutput::OpenDevices() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(devices_.size()) + closing_;
}

std::vector<int> SharedAudioOutput::OpenRates() const {
    const std::lock_guard lock(mutex_);
    std::vector<int> rates;
    for (const std::shared_ptr<Device>& device : devices_) rates.push_back(device->rate);
    return rates;
}

void SharedAudioOutput::Play(Source& source) {
    const std::lock_guard lock(mutex_);
    if (source.device) return;
    auto found = std::find_if(devices_.begin(), devices_.end(), [&](const std::shared_ptr<Device>& device) {
        return device->rate == source.rate && !device->output.Lost();
    });
    std::shared_ptr<Device> device = found != devices_.end() ? *found : nullptr;
    if (!device) {
        device = std::make_shared<Device>(source.rate);
        devices_.push_back(device);
    }
    device->output.WhileHeld([&] { device->playing.push_back(&source); });
    device->idleSince.reset();
    source.device = std::move(device);
}

void SharedAudioOutput::Pause(Source& source) {
    const std::lock_guard lock(mutex_);
    if (!source.device) return;
    const std::shared_ptr<Device> device = std::move(source.device);
    source.device.reset();
    device->output.WhileHeld([&] { std::erase(device->playing, &source); });
    if (device->playing.empty()) {
        device->idleSince = std::chrono::steady_clock::now();
        idle_.notify_all();
    }
}

void SharedAudioOutput::WhileHeld(Source& source, const std::function<void()>& change) {
    // The lock keeps the source from joining or leaving a device meanwhile; a paused source is
    // pulled by no device.
    const std::lock_guard lock(mutex_);
    if (source.device) {
        source.device->output.WhileHeld(change);
    } else {
        change();
    }
}

bool SharedAudioOutput::Lost(const Source& source) const {
    const std::lock_guard lock(mutex_);
    return source.device && source.device->output.Lost();
}

namespace {

// When an idle device is closed: a lost one at once, since it can never be reused.
template <typename DevicePtr>
std::optional<std::chrono::steady_clock::time_point> CloseDue(const DevicePtr& device) {
    if (!device->idleSince) return std::nullopt;
    return *device->idleSince + (device->output.Lost() ? std::chrono::milliseconds(0) : SharedAudioOutput::kIdleGrace);
}

}  // namespace

void SharedAudioOutput::CloseIdleDevices(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        std::optional<std::chrono::steady_clock::time_point> due;
        for (const std::shared_ptr<Device>& device : devices_) {
            if (const auto at = CloseDue(device)) due = std::min(due.value_or(*at), *at);
        }
        if (!due) {
            // At rest nothing is due: sleep, with no timer, until a device becomes idle.
            idle_.wait(lock, stop, [&] {
                return std::any_of(devices_.begin(), devices_.end(),
                                   [](const std::shared_ptr<Device>& device) { return device->idleSince.has_value(); });
            });
            continue;
        }
        if (std::chrono::steady_clock::now() < *due) {
            // A device that plays again meanwhile is simply no longer due when this wait ends.
            idle_.wait_until(lock, stop, *due, [] { return false; });
            continue;
        }
        std::vector<std::shared_ptr<Device>> closing;
        const auto now = std::chrono::steady_clock::now();
        std::erase_if(devices_, [&](const std::shared_ptr<Device>& device) {
            const auto at = CloseDue(device);
            if (!at || now < *at) return false;
            closing.push_back(device);
            return true;
        });
        closing_ += static_cast<int>(closing.size());
        // Closed without the lock: the drain takes two device periods, and Play must not wait for it.
        lock.unlock();
        const auto count = static_cast<int>(closing.size());
        closing.clear();
        lock.lock();
        closing_ -= count;
    }
}

SharedAudioOutput::Attachment::Attachment(SharedAudioOutput& owner, int sampleRate, Pull pull)
    : owner_(owner), source_(std::make_unique<Source>(Source{sampleRate, std::move(pull), nullptr})) {}

SharedAudioOutput::Attachment::~Attachment() { owner_.Pause(*source_); }

void SharedAudioOutput::Attachment::Play() { owner_.Play(*source_); }

void SharedAudioOutput::Attachment::Pause() { owner_.Pause(*source_); }

bool SharedAudioOutput::Attachment::Lost() const { return owner_.Lost(*source_); }

void SharedAudioOutput::Attachment::WhileHeld(const std::function<void()>& change) {
    owner_.WhileHeld(*source_, change);
}

}  // namespace tunekist
