#include "platform/engine/sdl_library.h"

#include <dlfcn.h>

#include "playback/media_engine.h"

namespace tunekist {

namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";

template <typename Call>
void Resolve(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(dlsym(library, name));
    if (call == nullptr) throw NoSoundOutputError(kNoSoundDevice);
}

SdlAudioCalls Load() {
    // Never closed: SDL's threads and the sound system's libraries may outlive any one device.
    void* const library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) throw NoSoundOutputError(kNoSoundDevice);
    SdlAudioCalls calls{};
    Resolve(library, "SDL_SetHint", calls.SetHint);
    Resolve(library, "SDL_InitSubSystem", calls.InitSubSystem);
    Resolve(library, "SDL_QuitSubSystem", calls.QuitSubSystem);
    Resolve(library, "SDL_OpenAudioDevice", calls.OpenAudioDevice);
    Resolve(library, "SDL_CloseAudioDevice", calls.CloseAudioDevice);
    Resolve(library, "SDL_PauseAudioDevice", calls.PauseAudioDevice);
    Resolve(library, "SDL_GetAudioDeviceStatus", calls.GetAudioDeviceStatus);
    Resolve(library, "SDL_LockAudioDevice", calls.LockAudioDevice);
    Resolve(library, "SDL_UnlockAudioDevice", calls.UnlockAudioDevice);
    return calls;
}

}  // namespace

const SdlAudioCalls& SdlAudio() {
    // A first load that throws leaves it unset, and the next call tries again.
    static const SdlAudioCalls calls = Load();
    return calls;
}

}  // namespace tunekist
