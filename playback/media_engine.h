#pragma once
// The one interface to the media engine. One engine instance serves one file: it is created
// empty, given a file with RenderFile, and then run, paused, stopped, positioned and made
// louder or softer. The engine raises no events; callers poll the position.
//
// Every operation that fails throws EngineError; callers let it through, catch it or ignore it.
// All calls come from the window's thread.
//
// An idle engine (no file rendered, or RenderFile failed) reports GetState 0 (stopped), a duration
// and position of 0, ignores Pause, Stop and put_Volume's level until a file is given (the level is
// kept), and fails Run and put_CurrentPosition.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace tunekist {

// A failure status of the engine. what() is a short text fit to show a person.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Run's failure when the machine has no sound output at all (no device, no sound server): unlike
// a file that cannot be played, this is no fault of the song, and the person is told.
class NoSoundOutputError : public EngineError {
public:
    using EngineError::EngineError;
};

// StartPlay's failure on a song whose file cannot be played (gone, unreadable, not MPEG audio):
// the player has stopped and the song is still the head of the playlist, for the caller to name.
class SongCannotPlayError : public EngineError {
public:
    using EngineError::EngineError;
};

// The engine's state as GetState reports it.
enum EngineState : std::int32_t { StateStopped = 0, StatePaused = 1, StateRunning = 2 };

class MediaEngine {
public:
    virtual ~MediaEngine() = default;

    // Opens the file at `path` (raw file-system bytes) and makes the engine ready to play it
    // from its start. Fails for a file that cannot be opened or holds no playable MPEG audio.
    // Opens no audio device. An instance is never given a second file.
    virtual void RenderFile(const std::string& path) = 0;

    // Starts playing, or resumes at the paused position. Fails when no file was rendered, and
    // with NoSoundOutputError when no audio device can be opened.
    virtual void Run() = 0;
    // Halts the sound; the position stays where it was.
    virtual void Pause() = 0;
    // Stops the sound; the position stays where it was.
    virtual void Stop() = 0;
    // The current state. May wait up to `timeoutMs` for a pending change to settle.
    virtual std::int32_t GetState(std::int32_t timeoutMs) = 0;

    // The length in seconds of what playing the file produces: the exact number of samples
    // heard (encoder delay and padding removed), divided by the sample rate.
    virtual double get_Duration() = 0;
    // Seconds from the file's start of the sound handed to the output so far. Stands still while
    // paused or stopped; at the end of the file it becomes exactly get_Duration() and stays there.
    virtual double get_CurrentPosition() = 0;
    // Moves playing to `seconds`, sample-accurately. Fails outside 0 ... duration or for NaN.
    virtual void put_CurrentPosition(double seconds) = 0;

    // Sets the level in hundredths of a decibel: 0 is full level, -4000 is 40 dB down.
    // Fails above 0 or below -10000. Heard within 50 ms.
    virtual void put_Volume(std::int32_t level) = 0;
};

// The three references the player holds to one engine. Shared ownership: the engine lives as long
// as any reference does, and releasing the last one stops its sound and frees it.
using IMediaControl = std::shared_ptr<MediaEngine>;
using IMediaPosition = std::shared_ptr<MediaEngine>;
using IBasicAudio = std::shared_ptr<MediaEngine>;

// Creates a new, empty engine (the engine's "create an instance"). May throw EngineError.
using EngineFactory = std::function<IMediaControl()>;

}  // namespace tunekist
