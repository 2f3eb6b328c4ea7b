#pragma once
// Real engines (libmpg123 + SDL2) for tests of the whole program, counted while they live. Sound
// goes through SDL's disk driver into a FIFO whose reader appends it to one capture file: the
// engine closes its device at rest and opens one again at the next Play (the driver truncates a
// plain file then), so each song's sound is found in the capture from where it started. (One
// capture per process, as ctest runs each test; the device reads its file name when it opens.)

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "playback/media_engine.h"

namespace tunekist::test {

class RealEngines {
public:
    // Capture files are named after `name` and the process, in the temporary folder; they are
    // removed when this object goes.
    explicit RealEngines(std::string name);
    ~RealEngines();

    // The factory to give the program; it refers to this object, which must outlive it.
    EngineFactory Factory();

    // Makes the device, when it next opens, write to `file` instead (/dev/null to discard,
    // /dev/full to fail every write as an unplugged device does); an empty name goes back to
    // the capture file.
    void SendSoundTo(const std::string& file) { forcedFile_ = file; }

    // Waits until the device has written `periods` more periods to the capture, as it does playing or
    // not; false when it stood still.
    bool DevicePlayedOn(int periods = 2) const;

    // The stereo samples (-1 ... 1) each engine that ran played, in the order they started:
    // the capture from the song's start to the next song's, or to the end of what was written.
    std::vector<std::vector<float>> Played() const;
    int Made() const { return counts_->made; }
    int Alive() const { return counts_->alive; }
    // The most engines that were alive at one time.
    int PeakAlive() const { return counts_->peak; }

    struct Counts {
        int made = 0, alive = 0, peak = 0;
    };

private:
    // Where in the capture the next song's sound will start: past everything played so far.
    std::int64_t CaptureEnd() const;

    // Copies what reaches the FIFO to the capture until `stop` is written to.
    void CopyFifo();
    // Bytes written to the FIFO so far: those in the capture and those still on their way.
    std::int64_t Written() const;

    std::string capture_;
    std::string fifo_;
    int fifoFd_ = -1;  // held open for reading and writing, so no device waits and no read sees its end
    int stopFds_[2]{-1, -1};
    mutable std::mutex copying_;  // held while bytes are between the FIFO and the capture
    std::jthread copier_;
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
    std::vector<std::int64_t> starts_;  // byte offsets into the capture
    std::string forcedFile_;
};

}  // namespace tunekist::test
