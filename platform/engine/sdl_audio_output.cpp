#include "platform/engine/sdl_audio_output.h"

#include <mutex>
#include <string>

#include "platform/engine/sdl_library.h"
#include "playback/media_engine.h"

namespace tunekist {

namespace {

// SDL's subsystem count is not thread-safe by itself; engines may come and go on any thread.
std::mutex& SubsystemMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

SdlAudioOutput::Subsystem::Subsystem() {
    const std::lock_guard lock(SubsystemMutex());
    // SDL would otherwise catch SIGINT and SIGTERM and the program would no longer end on them.
    SdlAudio().SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SdlAudio().InitSubSystem(SDL_INIT_AUDIO) != 0) throw NoSoundOutputError(kNoSoundDevice);
}

SdlAudioOutput::Subsystem::~Subsystem() {
    const std::lock_guard lock(SubsystemMutex());
    SdlAudio().QuitSubSystem(SDL_INIT_AUDIO);
}

SdlAudioOutput::SdlAudioOutput(int sampleRate, Pull pull, Uint16 periodFrames) : pull_(std::move(pull)) {
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = periodFrames;
    wanted.callback = &SdlAudioOutput::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    const std::lock_guard lock(SubsystemMutex());
    // No changes allowed: the callback's buffer is always in the wanted format.
    device_ = SdlAudio().OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) throw NoSoundOutputError(kNoSoundDevice);
}

SdlAudioOutput::~SdlAudioOutput() {
    // Without the subsystem's lock: closing waits for SDL's drain (two device periods), and
    // another device may be opened meanwhile. SDL frees the slot of a closed device only after its
    // thread has ended, and opening takes a free slot only; the subsystem itself stays up until
    // this output's hold on it goes, after the close.
    SdlAudio().CloseAudioDevice(device_);
}

void SdlAudioOutput::Play() { SdlAudio().PauseAudioDevice(device_, 0); }

void SdlAudioOutput::Pause() { SdlAudio().PauseAudioDevice(device_, 1); }

bool SdlAudioOutput::Lost() const { return SdlAudio().GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED; }

void SdlAudioOutput::WhileHeld(const std::function<void()>& change) {
    struct Hold {
        SDL_AudioDeviceID device;
        explicit Hold(SDL_AudioDeviceID id) : device(id) { SdlAudio().LockAudioDevice(device); }
        ~Hold() { SdlAudio().UnlockAudioDevice(device); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    } hold(device_);
    change();
}

void SdlAudioOutput::Callback(void* self, Uint8* stream, int bytes) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    output->pull_({reinterpret_cast<std::int16_t*>(stream), static_cast<std::size_t>(bytes) / sizeof(std::int16_t)});
}

}  // namespace tunekist
