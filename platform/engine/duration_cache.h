#pragma once
// The one process-wide cache of measured song lengths, shared by every engine of the process.
// A file is known by its device, inode, size and modification time (with nanoseconds), so a song
// that is measured again while unchanged costs one open and stat; a file that changed, was replaced
// or vanished is measured afresh, and one that can no longer be opened fails. Files without audio
// are remembered too, with their error text.

#include <cstdint>
#include <string>

namespace tunekist {

struct Measurement {
    long sampleRate = 0;
    // Sample frames that playing the file yields (gapless: encoder delay and padding removed).
    std::int64_t frames = 0;
    double Seconds() const { return static_cast<double>(frames) / static_cast<double>(sampleRate); }
};

class DurationCache {
public:
    // The cache of this process.
    static DurationCache& Instance();

    // The measurement of the file at `path`, from the cache when the file is unchanged.
    // Throws EngineError for a file that cannot be opened or holds no MPEG audio.
    Measurement Measure(const std::string& path);

    // How many files were actually read (not answered from the cache) so far.
    std::int64_t FilesRead() const;

    // Forgets every measurement, so that the next Measure of each file reads it again (for
    // measuring how long a first listing takes without starting a new process).
    void Clear();

private:
    DurationCache() = default;
};

}  // namespace tunekist
