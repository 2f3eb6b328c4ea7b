#pragma once
// Hearing what the shipped engine played. SDL's "disk" audio driver writes exactly what would be
// heard into a file, faster than real time; the engine asks for signed 16-bit stereo, so SDL
// writes that unconverted. These helpers point the driver at a file of the test's own, read the
// sound back and analyse it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tunekist::test {

// Directs the next opened device's sound into a fresh file named after `name`, unthrottled.
std::string CaptureNextDevice(const std::string& name);

// The capture at `path` from byte `begin` up to byte `end`, as interleaved stereo samples scaled to -1 ... 1.
std::vector<float> ReadCaptureFile(const std::string& path, std::int64_t begin, std::int64_t end);

// The 16-bit stereo samples but the frames of exact silence, which a device plays whenever it is
// fed late or nothing plays; captured samples (-1 ... 1) are first taken back to 16 bits.
std::vector<std::int16_t> Sounding(std::span<const std::int16_t> samples);
std::vector<std::int16_t> Sounding(std::span<const float> captured);

// What reached the device: the frames that carried sound, their level and their pitch.
struct Heard {
    // Stereo frames other than exact silence. A device fed faster than the decoder and a paused
    // or finished device put exact zeros between the sound; dropping them gives back the stream
    // that was played. A single silent frame is kept: a wave crossing zero lands on exactly zero
    // now and then, but never twice in a row.
    std::size_t frames = 0;
    // RMS of the left channel in dB relative to full scale; -inf for no sound.
    double rmsDb = 0;
    // Rising zero crossings of the left channel per second of sound.
    double hz = 0;
};
Heard Analyse(const std::vector<float>& samples, int sampleRate = 44100);

// The level of the file itself: the RMS of its whole left channel decoded, in dB of full scale.
double DecodedRmsDb(const std::string& path);

// Frames of a song of `seconds` at 44.1 kHz.
constexpr std::size_t FramesOf(double seconds) { return static_cast<std::size_t>(seconds * 44100 + 0.5); }

// Polls `done` every millisecond until it holds; gives up after 20 s so that a broken engine fails
// the test instead of hanging it. Returns whether it held.
bool Eventually(const std::function<bool()>& done);

}  // namespace tunekist::test
