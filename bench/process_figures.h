#pragma once
// The figures measured by running programs: ffprobe per file, playing a song through SDL's disk
// driver against decoding it with mpg123, and start-up to the first painted window against a
// bare Qt window.

#include <cstdint>
#include <string>
#include <vector>

#include "bench/child_process.h"

namespace tunekist::bench {

// The cost per file of `ffprobe` reporting each file's duration, one process per file.
Spread FfprobeCostPerFile(const std::vector<std::string>& files, int rounds);

// The cost of `benchProgram play FILE` playing the song through the real engine into SDL's disk
// driver, which writes to /dev/null as fast as it can.
Spread PlayingCost(const std::string& benchProgram, const std::string& file, int rounds);
// The cost of `benchProgram silence FRAMES PERIOD`: SDL's disk driver alone, fed silence for as
// many sample frames, PERIOD frames per device period.
Spread SilenceCost(const std::string& benchProgram, std::int64_t frames, int periodFrames, int rounds);
// The cost of `mpg123 -q -s FILE > /dev/null`.
Spread Mpg123Cost(const std::string& file, int rounds);
// The sample frames mpg123 decodes from the file (gapless, its default), from its raw output.
std::int64_t Mpg123SampleFrames(const std::string& file);

struct StartupResult {
    Spread time;     // from starting the process to its first painted window
    long rssKb = 0;  // resident memory when it had painted (the largest of the rounds)
};

// Starts `probe MODE` with Qt's offscreen platform `rounds` times; the probe prints its resident
// memory and exits as soon as its window has painted.
StartupResult TimeStartup(const std::string& probe, const std::string& mode, int rounds);

// The `play FILE` command of the bench program: plays FILE to its end through the real engine.
// Returns the exit code.
int PlaySong(const std::string& file);
// The `silence FRAMES PERIOD` command: plays FRAMES stereo sample frames of silence at 44.1 kHz
// through the engine's own SDL output, PERIOD frames per device period.
// Returns the exit code.
int PlaySilence(std::int64_t frames, int periodFrames);

}  // namespace tunekist::bench
