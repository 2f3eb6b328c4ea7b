#pragma once
// One opened SDL audio device playing interleaved stereo signed 16-bit samples pulled from a callback.
// SDL's audio subsystem is initialised while any output exists (SDL's own reference count, with
// its signal handlers off so that SIGTERM still ends the program). Closing waits for a running
// callback to return and then two device periods while SDL lets the device drain, so the engine
// keeps a device open across songs and closes it off the caller's thread (SharedAudioOutput).

#include <SDL2/SDL.h>

#include <cstdint>
#include <functional>
#include <span>

namespace tunekist {

class SdlAudioOutput {
public:
    // Sample frames per device period: about 46 ms at 44.1 kHz. A volume change, a pause or a
    // jump is heard within one period, and closing a device waits two of them (SDL lets the
    // device drain first).
    static constexpr Uint16 kDeviceFrames = 2048;

    // Fills `out` completely (silence where nothing is there); runs on SDL's audio thread.
    using Pull = std::function<void(std::span<std::int16_t> out)>;

    // Opens the default device for `sampleRate` frames per second in stereo, `periodFrames` frames
    // per device period, paused. The callback
    // always gets this format; where the device needs another, SDL converts behind it (a device
    // that takes it, as SDL's disk driver does, gets the samples unconverted). Throws
    // NoSoundOutputError when no audio device can be opened.
    SdlAudioOutput(int sampleRate, Pull pull, Uint16 periodFrames = kDeviceFrames);
    ~SdlAudioOutput();
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    void Play();
    void Pause();
    // True when SDL has given up on the device (unplugged, server gone).
    bool Lost() const;

    // Holds the callback still while `change` runs (a few milliseconds at most).
    void WhileHeld(const std::function<void()>& change);

private:
    static void Callback(void* self, Uint8* stream, int bytes);

    // Keeps SDL's audio subsystem up for as long as this output lives.
    struct Subsystem {
        Subsystem();
        ~Subsystem();
        Subsystem(const Subsystem&) = delete;
        Subsystem& operator=(const Subsystem&) = delete;
    };
    Subsystem subsystem_;
    Pull pull_;
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace tunekist
