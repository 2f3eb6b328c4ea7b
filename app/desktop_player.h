#pragma once
// The player as the desktop's media controls see it and drive it. Every command runs the window's
// own procedure for the matching button, as an event of the window and at the moments a click
// would run: at once, even inside a folder listing's yield, in the order the commands came, but
// not while a message box is open and never once the window has been closed. So the desktop and
// the window never disagree.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/main_form.h"

namespace tunekist {

enum class DesktopPlayback { Stopped, Playing, Paused };

// What the desktop shows of the player at one moment.
struct DesktopStatus {
    DesktopPlayback playback = DesktopPlayback::Stopped;
    // The head of the playlist, the song that plays or plays next: its path (raw file-system
    // bytes; empty when the playlist is empty), its name as the song list shows it, and its exact
    // length, when the engine can measure it.
    std::string path;
    std::string title;
    std::optional<std::int64_t> lengthMicroseconds;
    // Counts the songs that have left the head of the playlist, so each head song has its own number.
    std::uint64_t track = 0;
    int queued = 0;
    // The volume slider's percentage as a fraction: 1 is full level, 0 is 40 dB down.
    double volume = 1;

    bool operator==(const DesktopStatus&) const = default;
};

// What the window does for the desktop.
struct DesktopWindow {
    // Runs `handler` as an event handler of the window: an error it raises is shown as the
    // window shows every error.
    std::function<void(const std::function<void()>& handler)> Handle;
    // True while a message box of the window is open: the window takes no clicks then.
    std::function<bool()> MessageOpen;
    // True once Exit or the close box has been handled.
    std::function<bool()> Closed;
    // Moves the volume slider to `value`, as the person would; the slider raises its events.
    std::function<void(std::int32_t value)> MoveVolSlider;
    // Shows the window in front of the others.
    std::function<void()> Raise;
    // True while songs and folders handed to the program are going in (a folder being listed for
    // them): a command that came after them waits, so that it sees them queued.
    std::function<bool()> OpeningPaths;
};

class DesktopPlayer {
public:
    // `measure` makes the engines that measure the head song's length; they never play.
    DesktopPlayer(Main& main, EngineFactory measure, DesktopWindow window);

    // The state now. Measures the head song when it has changed since the last call.
    DesktopStatus Status();
    // Seconds into the song; 0 while no song plays or is paused.
    double Position() const;

    // The commands. Each runs at once, unless a message is open or another command is running;
    // then it waits for them, behind the commands that came before it. Play starts the head song or resumes a paused
    // one, and leaves a playing one alone; Pause pauses a playing song only; PlayPause does one or the other; Stop and
    // Next are the buttons.
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    // Moves the position to `seconds` of the song numbered `track` (DesktopStatus::track); nothing
    // when another song is at the head, no song plays or is paused, or `seconds` lies outside
    // 0 ... the song's length.
    void SetPosition(std::uint64_t track, double seconds);
    // Moves the position `seconds` away from where the song is when the command runs, kept
    // within the song, as Rew and Forew do; not while stopped.
    void SeekBy(double seconds);
    // Moves the volume slider to the step nearest `volume` (a fraction, clamped to 0 ... 1).
    void SetVolume(double volume);
    void Quit();
    void Raise();

    // Called after a command of the desktop moved the position.
    std::function<void()> Seeked;

    // Runs the commands that waited, unless a message is open; drops them once the window closed.
    void RunWaitingCommands();
    // How many commands wait for an open message or for the command before them.
    std::size_t Waiting() const { return waiting_.size(); }
    // True while the song plays (not paused, not stopped).
    bool IsPlaying() const { return Playback() == DesktopPlayback::Playing; }

private:
    void Command(std::function<void()> command);
    DesktopPlayback Playback() const;
    void Seek(double seconds);
    std::optional<std::int64_t> MeasureLength(const std::string& path) const;

    Main& main_;
    EngineFactory measure_;
    DesktopWindow window_;
    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
    DesktopStatus last_;
};

}  // namespace tunekist
