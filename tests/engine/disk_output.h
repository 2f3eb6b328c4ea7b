#pragma once
// SDL's "disk" audio driver writes exactly what would be heard into a file, faster than real
// time when SDL_DISKAUDIODELAY is 0. These helpers point it at a file of the test's own and read
// the sound back as interleaved stereo floats (the engine asks for that format, so SDL writes it
// unconverted).

#include <chrono>
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

inline std::vector<float> ReadCapture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    std::filesystem::remove(path);
    return samples;
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
