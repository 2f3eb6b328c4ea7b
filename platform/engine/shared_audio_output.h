#pragma once
// The process's sound output. Sources attach at their sample rate; a device for that rate is
// opened when one of them starts playing, and every playing source on it is mixed into it. When
// none plays any more the device plays silence for a moment (kIdleGrace), so that a pause, a Stop
// followed by Play or the next song at the same rate reuses it, and is then closed on a thread of
// its own: the sound server may suspend its sink, no thread of the program wakes for it, and
// closing (SDL waits two device periods for the drain) never holds the caller. A device SDL has
// given up on (unplugged, sound server gone) is never reused; once it is closed, with the last
// device SDL's audio subsystem goes too, so that the next Play reaches a server that came back.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/engine/sdl_audio_output.h"

namespace tunekist {

class SharedAudioOutput {
public:
    using Pull = SdlAudioOutput::Pull;
    class Attachment;

    // How long a device with no playing source stays open before it is closed.
    static constexpr std::chrono::milliseconds kIdleGrace{500};

    // The owner of the process's devices. It lives until the process ends, which closes them.
    static SharedAudioOutput& Instance();

    // Adds `pull` as a source at `sampleRate`, paused; no device is opened yet.
    Attachment Attach(int sampleRate, Pull pull);

    // Devices open now, idle ones and ones still being closed included; 0 at rest.
    int OpenDevices() const;
    // The sample rates of the devices open now and not being closed.
    std::vector<int> OpenRates() const;

    SharedAudioOutput(const SharedAudioOutput&) = delete;
    SharedAudioOutput& operator=(const SharedAudioOutput&) = delete;

private:
    struct Device;
    struct Source {
        int rate;
        Pull pull;
        std::shared_ptr<Device> device;  // the device it plays on; empty while paused
    };

    SharedAudioOutput();
    ~SharedAudioOutput() = default;

    void Play(Source& source);
    void Pause(Source& source);
    void WhileHeld(Source& source, const std::function<void()>& change);
    bool Lost(const Source& source) const;
    // Closes each device that has been idle for kIdleGrace; sleeps while none is idle.
    void CloseIdleDevices(const std::stop_token& stop);

    mutable std::mutex mutex_;  // guards devices_, closing_ and every source's device
    std::vector<std::shared_ptr<Device>> devices_;
    int closing_ = 0;
    std::condition_variable_any idle_;  // a device became idle
    std::jthread closer_;               // last: started once the rest exists
};

// One source of the sound output. While it plays, a device stays open for it.
class SharedAudioOutput::Attachment {
public:
    // Detaches: once it returns, the source's pull is never called again.
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // The source is pulled from the next device period on, or no longer. Play opens a device when
    // none is open at the source's rate (on the caller's thread: a few milliseconds) and throws
    // NoSoundOutputError when none can be opened.
    void Play();
    void Pause();
    // True when SDL has given up on the device the source plays on (unplugged, server gone).
    bool Lost() const;
    // Runs `change` while the source's pull cannot run (a few milliseconds at most).
    void WhileHeld(const std::function<void()>& change);

private:
    friend class SharedAudioOutput;
    Attachment(SharedAudioOutput& owner, int sampleRate, Pull pull);

    SharedAudioOutput& owner_;
    std::unique_ptr<Source> source_;  // its address is what the devices mix
};

}  // namespace tunekist
