#pragma once
// Hearing what the shipped engine played: the capture files SDL's disk driver wrote, analysed.

#include <cstddef>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "tests/support/real_engines.h"

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

// Analyses interleaved stereo samples the disk driver wrote.
Heard Analyse(const std::vector<float>& samples, int sampleRate = 44100);

// Unloads `main`, which releases its engines, and analyses the sound of every song played, in
// the order they were started.
std::vector<Heard> HeardAfterClosing(Main& main, const RealEngines& engines);

// The level of the file itself: the RMS of its whole left channel decoded, in dB of full scale.
double DecodedRmsDb(const std::string& path);

// Frames of a song of `seconds` at 44.1 kHz.
constexpr std::size_t FramesOf(double seconds) { return static_cast<std::size_t>(seconds * 44100 + 0.5); }

}  // namespace tunekist::test
