#pragma once
// Test audio made at test time: sine tones encoded to MP3 with sox and lame, cached in the build
// folder so that each file is made once per build tree. Files are written under a temporary name
// and renamed into place, so test processes running side by side never see half a file.

#include <string>

namespace tunekist::test {

struct ToneOptions {
    int sampleRate = 44100;
    int channels = 2;
    // Constant bit rate in kbit/s; ignored when vbr is set.
    int bitrateKbps = 128;
    // Variable bit rate with lame's -V quality (0 best ... 9 smallest).
    bool vbr = false;
    int vbrQuality = 4;
    // Writes lame's Xing/Info tag with encoder delay and padding (lame -t turns it off).
    bool lameTag = true;
    // Peak amplitude of the sine, 0 ... 1.
    double amplitude = 0.5;
};

// The path of a cached MP3 of a `hz` sine of exactly seconds * sampleRate samples per channel,
// made if missing. Throws std::runtime_error when sox or lame fails.
std::string CachedTone(double seconds, double hz, const ToneOptions& options = {});

// Writes `bytes` as the whole content of `path`.
void WriteBytes(const std::string& path, const std::string& bytes);

// The whole content of `path`; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace tunekist::test
