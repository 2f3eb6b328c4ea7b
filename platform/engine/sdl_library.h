#pragma once
// SDL's audio calls, from a library loaded the first time a sound device is wanted. SDL brings the
// sound system's libraries with it (ALSA, PulseAudio, their codecs: about 2 MB resident); a window
// that is open but has never played keeps none of them in memory. Once loaded, the library stays.

#include <SDL2/SDL.h>

namespace tunekist {

// What every failure to get a sound device says, whether SDL or the device itself is missing.
inline constexpr const char* kNoSoundDevice = "Geen geluidsapparaat beschikbaar";

struct SdlAudioCalls {
    decltype(&SDL_SetHint) SetHint;
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
    decltype(&SDL_LockAudioDevice) LockAudioDevice;
    decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
};

// Loads SDL on the first call from any thread and returns its calls; throws NoSoundOutputError when
// the library or one of its calls cannot be found (then a later call tries again).
const SdlAudioCalls& SdlAudio();

}  // namespace tunekist
