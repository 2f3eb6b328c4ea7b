#pragma once
#include "playback/media_engine.h"

namespace tunekist {

// The window's playback state: the playing flag and three references to the one current engine.
// The song list and the playlist borrow Graph and GraphPosition to measure files, and only while
// Playing is false, so they never take the engine of a playing song.
struct PlaybackState {
    // A song was started and has not been stopped since; pausing does not clear it.
    bool Playing = false;
    IMediaControl Graph;
    IMediaPosition GraphPosition;
    IBasicAudio GraphAudio;
};

}  // namespace tunekist
