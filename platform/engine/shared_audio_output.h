#pragma once
// The process's sound output. A device is opened at the first song and kept open across songs,
// so that changing songs never waits for a device to drain (SDL's close sleeps two device
// periods). Every playing source attached to a device is mixed into it; while none plays, the
// device plays silence. There is one device per sample rate in use: a song at another rate than
// the last reopens the device once nothing else plays on it (that change waits for the drain).
// A device SDL has given up on (unplugged, sound server gone) is closed once no source uses it,
// and with the last device SDL's audio subsystem, so that the next attach opens a fresh one and
// reaches a sound server that has come back.

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/engine/sdl_audio_output.h"

namespace tunekist {

class SharedAudioOutput {
public:
    using Pull = SdlAudioOutput::Pull;
    class Attachment;

    // The owner of the process's devices. It lives until the process ends, which closes them.
    static SharedAudioOutput& Instance();

    // Adds `pull` to the device for `sampleRate`, opening one when none is open at that rate or
    // the open one was lost. The source starts paused. Throws NoSoundOutputError when no device
    // can be opened.
    Attachment Attach(int sampleRate, Pull pull);

    SharedAudioOutput(const SharedAudioOutput&) = delete;
    SharedAudioOutput& operator=(const SharedAudioOutput&) = delete;

private:
    SharedAudioOutput() = default;
    ~SharedAudioOutput() = default;

    struct Device;
    std::mutex mutex_;  // guards devices_
    std::vector<std::shared_ptr<Device>> devices_;
};

// One source on a device. The device stays open at least as long as this lives.
class SharedAudioOutput::Attachment {
public:
    // Detaches: once it returns, the source's pull is never called again.
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // The source is pulled from the next device period on, or no longer.
    void Play();
    void Pause();
    // True when SDL has given up on the device (unplugged, server gone).
    bool Lost() const;
    // Holds the device's callback still while `change` runs (a few milliseconds at most).
    void WhileHeld(const std::function<void()>& change);

private:
    friend class SharedAudioOutput;
    struct Source {
        Pull pull;
        bool playing = false;
    };
    Attachment(std::shared_ptr<Device> device, std::list<Source>::iterator source);

    std::shared_ptr<Device> device_;
    std::list<Source>::iterator source_;
};

}  // namespace tunekist
