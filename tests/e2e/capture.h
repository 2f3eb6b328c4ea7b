#pragma once
// Hearing what the shipped engine played. Every engine made through CapturingEngines plays into a
// file of its own through SDL's disk driver: the driver truncates its file whenever a device
// opens, so engines sharing one file would overwrite each other's sound.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "playback/media_engine.h"

namespace tunekist::test {

// What reached one audio device: the frames that carried sound, their level and their pitch.
struct Heard {
    // Stereo frames other than exact silence. A device fed faster than the decoder (the disk
    // driver runs unthrottled) and a paused or finished device put exact zeros between the
    // sound; dropping them gives back the stream that was played.
    std::size_t frames = 0;
    // RMS of the left channel in dB relative to full scale; -inf for no sound.
    double rmsDb = 0;
    // Rising zero crossings of the left channel per second of sound.
    double hz = 0;
};

// Reads the interleaved stereo floats the disk driver wrote to `path` and analyses them.
Heard Analyse(const std::string& path, int sampleRate = 44100);

// Makes real engines (libmpg123 + SDL2) that each play into their own capture file.
class CapturingEngines {
public:
    // Files are named after `name` and the process, in the temporary folder; they are removed
    // when this object goes.
    explicit CapturingEngines(std::string name);
    ~CapturingEngines();
    CapturingEngines(const CapturingEngines&) = delete;
    CapturingEngines& operator=(const CapturingEngines&) = delete;

    // The factory to give the program. Each engine it makes sends the sound of its device to a
    // new file; the device opens at the engine's first Run.
    EngineFactory Factory();

    // Makes the devices of engines made from now on write to `file` instead (say /dev/full, which
    // fails every write as a device that was unplugged does); an empty name ends this.
    void SendSoundTo(const std::string& file) { *forcedFile_ = file; }

    // The capture files of the engines that opened an audio device (songs played, not files
    // measured), in the order the engines were made.
    std::vector<std::string> Played() const;
    // How many engines were made (songs played and files measured alike).
    int Made() const;
    // How many of them are still alive.
    int Alive() const;

private:
    struct Engine {
        std::weak_ptr<MediaEngine> engine;
        std::string file;
    };
    std::string name_;
    std::shared_ptr<std::vector<Engine>> engines_ = std::make_shared<std::vector<Engine>>();
    std::shared_ptr<std::string> forcedFile_ = std::make_shared<std::string>();
};

// The level of the file itself: the RMS of its whole left channel decoded, in dB of full scale.
double DecodedRmsDb(const std::string& path);

// Polls `done` every millisecond until it holds, up to a bound of tries so that a broken engine
// fails the test instead of hanging it. `step` runs before each look (a timer tick, an event
// loop). Returns whether it held.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step = {});

}  // namespace tunekist::test
