#pragma once
// Real engines (libmpg123 + SDL2) for tests of the whole program, counted while they live. Sound
// goes through SDL's disk driver, either into a capture file per engine (the driver truncates
// its file whenever a device opens, so engines sharing one file would overwrite each other) or
// into one file given by SendSoundTo.

#include <memory>
#include <string>
#include <vector>

#include "playback/media_engine.h"

namespace tunekist::test {

class RealEngines {
public:
    // Capture files are named after `name` and the process, in the temporary folder; they are
    // removed when this object goes.
    explicit RealEngines(std::string name);
    ~RealEngines();
    RealEngines(const RealEngines&) = delete;
    RealEngines& operator=(const RealEngines&) = delete;

    // The factory to give the program; it refers to this object, which must outlive it. The
    // device of each engine opens at its first Run.
    EngineFactory Factory();

    // Makes the devices of engines made from now on write to `file` instead (/dev/null to
    // discard, /dev/full to fail every write as an unplugged device does); an empty name goes
    // back to a capture file per engine.
    void SendSoundTo(const std::string& file) { forcedFile_ = file; }

    // The capture files of the engines that opened an audio device (songs played, not files
    // measured), in the order the engines were made.
    std::vector<std::string> Played() const;
    int Made() const { return counts_->made; }
    int Alive() const { return counts_->alive; }
    // The most engines that were alive at one time.
    int PeakAlive() const { return counts_->peak; }

    struct Counts {
        int made = 0;
        int alive = 0;
        int peak = 0;
    };

private:
    std::string name_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
    std::vector<std::string> captureFiles_;
    std::string forcedFile_;
};

}  // namespace tunekist::test
