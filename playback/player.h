#pragma once
#include <cstdint>

#include "platform/ui/list_box.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/timer.h"
#include "playback/media_engine.h"
#include "playback/playback_state.h"
#include "playback/volume.h"

namespace tunekist {

// How long GetState may wait for the engine to settle a state change. The real engine settles
// synchronously, so this only bounds a misbehaving one.
inline constexpr std::int32_t kGetStateTimeoutMs = 100;

// The player's procedures. They always play the head of the playlist (entry 0 of List1); moving
// on to the next song is the callers' business. Except StartPlay, which handles its own failures,
// each lets an engine failure through to its caller.
class Player {
public:
    Player(PlaybackState& state, EngineFactory createEngine, VolumeControl& volume, ListBox& List1, Timer& PlayTimer,
           PictureBox& Bar)
        : state_(state),
          createEngine_(std::move(createEngine)),
          volume_(volume),
          List1_(List1),
          PlayTimer_(PlayTimer),
          Bar_(Bar) {}

    // Resumes a paused song; otherwise starts the head song from its beginning in a new engine.
    void Play();
    // Starts the head song in a new engine. On any failure it stops and throws: NoSoundOutputError
    // when the machine has no sound output, SongCannotPlayError for everything else, so that the
    // caller can tell the person which song did not start.
    void StartPlay();
    // Stops the song; the engine stays, and so do the labels and the bar.
    void StopPlay();
    // Pauses a running song and resumes a paused one. Acts only while Playing: a stopped song,
    // or an idle engine that holds no file, is left alone.
    void PausePlay();
    // Moves the position 15 seconds back (not below 0) or forward (not beyond the duration).
    void RewindPlay();
    void ForwardPlay();
    // Moves the position to `seconds`, kept within 0 ... the duration, as Rew and Forew keep it.
    void SeekPlay(double seconds);

private:
    PlaybackState& state_;
    EngineFactory createEngine_;
    VolumeControl& volume_;
    ListBox& List1_;
    Timer& PlayTimer_;
    PictureBox& Bar_;
};

}  // namespace tunekist
