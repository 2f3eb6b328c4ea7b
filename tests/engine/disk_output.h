#pragma once
// SDL's "disk" audio driver writes exactly what would be heard into a file, faster than real
// time when SDL_DISKAUDIODELAY is 0. These helpers point it at a file of the test's own and read
// the sound back as interleaved stereo samples scaled to -1 ... 1 (the engine asks for signed
// 16-bit stereo, so SDL writes that unconverted).

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace tunekist::test {

// Directs the next opened device's sound into a fresh file named after `name`.
inline std::string CaptureNextDevice(const std::string& name) {
    const std::string path = std::filesystem::temp_directory_path().string() + "/tunekist_" + name +
                             "_" + std::to_string(getpid()) + ".raw";
    std::filesystem::remove(path);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    return path;
}

inline std::vector<float> ToUnitScale(const std::vector<std::int16_t>& samples) {
    std::vector<float> scaled(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) scaled[i] = static_cast<float>(samples[i]) / 32768.0f;
    return scaled;
}

// Reads the capture at `path` from byte `begin` up to byte `end` (or its end), without removing it.
inline std::vector<float> ReadCaptureFile(const std::string& path, std::int64_t begin = 0, std::int64_t end = -1) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(begin);
    std::vector<char> bytes;
    if (end < 0) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(end - begin, 0)));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    std::vector<std::int16_t> samples(bytes.size() / sizeof(std::int16_t));
    // An empty capture (a device paused before its first period) has no bytes to copy.
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(std::int16_t));
    return ToUnitScale(samples);
}

// The left channel of the played stream: a device fed faster than the decoder plays exact silence
// between blocks, which is dropped. A single silent frame is kept: with 16-bit samples a wave
// crossing zero lands on exactly zero now and then, but never twice in a row.
inline std::vector<float> PlayedLeftChannel(const std::vector<float>& samples) {
    const auto silent = [&](std::size_t frame) {
        return frame < samples.size() / 2 && samples[2 * frame] == 0.0f && samples[2 * frame + 1] == 0.0f;
    };
    std::vector<float> left;
    for (std::size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const bool inSilence = silent(frame) && ((frame > 0 && silent(frame - 1)) || silent(frame + 1));
        if (!inSilence) left.push_back(samples[2 * frame]);
    }
    return left;
}

// Polls `done` until it holds; gives up after many tries so that a broken engine fails the test
// instead of hanging it. Returns whether it held.
inline bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 20000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace tunekist::test
