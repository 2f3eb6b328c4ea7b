#include "tests/support/sound_capture.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include "platform/engine/mpg123_decoder.h"

namespace tunekist::test {

std::string CaptureNextDevice(const std::string& name) {
    const std::string path =
        std::filesystem::temp_directory_path().string() + "/tunekist_" + name + "_" + std::to_string(getpid()) + ".raw";
    std::filesystem::remove(path);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    return path;
}

std::vector<float> ReadCaptureFile(const std::string& path, std::int64_t begin, std::int64_t end) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(begin);
    std::vector<char> bytes(static_cast<std::size_t>(std::max<std::int64_t>(end - begin, 0)));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    std::vector<float> samples(bytes.size() / sizeof(std::int16_t));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + i * sizeof sample, sizeof sample);
        samples[i] = static_cast<float>(sample) / 32768.0f;
    }
    return samples;
}

std::vector<std::int16_t> Sounding(std::span<const std::int16_t> samples) {
    std::vector<std::int16_t> sounding;
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] != 0 || samples[i + 1] != 0) sounding.insert(sounding.end(), {samples[i], samples[i + 1]});
    }
    return sounding;
}

std::vector<std::int16_t> Sounding(std::span<const float> captured) {
    std::vector<std::int16_t> samples;
    for (const float sample : captured) samples.push_back(static_cast<std::int16_t>(sample * 32768));
    return Sounding(samples);
}

Heard Analyse(const std::vector<float>& samples, int sampleRate) {
    const std::size_t frames = samples.size() / 2;
    const auto silent = [&](std::size_t frame) {
        return frame < frames && samples[2 * frame] == 0.0f && samples[2 * frame + 1] == 0.0f;
    };
    std::vector<float> left;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const bool inSilence = silent(frame) && ((frame > 0 && silent(frame - 1)) || silent(frame + 1));
        if (!inSilence) left.push_back(samples[2 * frame]);
    }
    Heard heard;
    heard.frames = left.size();
    if (left.empty()) {
        heard.rmsDb = -std::numeric_limits<double>::infinity();
        return heard;
    }
    double energy = 0;
    std::size_t crossings = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        energy += static_cast<double>(left[i]) * left[i];
        if (i > 0 && left[i - 1] < 0.0f && left[i] >= 0.0f) ++crossings;
    }
    heard.rmsDb = 10.0 * std::log10(energy / static_cast<double>(left.size()));
    heard.hz = static_cast<double>(crossings) * sampleRate / static_cast<double>(left.size());
    return heard;
}

double DecodedRmsDb(const std::string& path) {
    Mpg123Decoder decoder(path);
    std::vector<Sample> block(4096 * Mpg123Decoder::kChannels);
    double energy = 0;
    std::size_t frames = 0;
    while (const std::size_t read = decoder.Read(block)) {
        for (std::size_t i = 0; i < read; ++i) {
            const double left = block[2 * i] / 32768.0;
            energy += left * left;
        }
        frames += read;
    }
    return 10.0 * std::log10(energy / static_cast<double>(frames));
}

bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 20000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace tunekist::test
