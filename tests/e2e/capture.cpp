#include "tests/e2e/capture.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <thread>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/engine/disk_output.h"

namespace tunekist::test {

Heard Analyse(const std::string& path, int sampleRate) {
    if (!std::filesystem::exists(path)) throw std::runtime_error("no capture at " + path);
    // Paused and finished devices write silence for as long as they stay open: megabytes.
    const std::vector<float> left = PlayedLeftChannel(ReadCaptureFile(path));
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
    const auto frames = static_cast<double>(left.size());
    heard.rmsDb = 10.0 * std::log10(energy / frames);
    heard.hz = static_cast<double>(crossings) * sampleRate / frames;
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

CapturingEngines::CapturingEngines(std::string name) : name_(std::move(name)) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    // One millisecond per device period still plays tens of times faster than real time; with
    // none, a paused or finished device would write silence as fast as the disk takes it.
    setenv("SDL_DISKAUDIODELAY", "1", 0);
}

CapturingEngines::~CapturingEngines() {
    for (const Engine& made : *engines_) {
        if (!made.file.empty()) std::filesystem::remove(made.file);
    }
}

EngineFactory CapturingEngines::Factory() {
    return [engines = engines_, forced = forcedFile_, name = name_]() -> IMediaControl {
        const std::string file = std::filesystem::temp_directory_path().string() + "/tunekist_e2e_" + name + "_" +
                                 std::to_string(getpid()) + "_" + std::to_string(engines->size()) + ".raw";
        std::filesystem::remove(file);
        // The disk driver reads its file name when the device opens, at the engine's first Run;
        // nothing else makes an engine between a song's engine being made and it being run.
        setenv("SDL_DISKAUDIOFILE", forced->empty() ? file.c_str() : forced->c_str(), 1);
        IMediaControl engine = MakeRealEngineFactory()();
        engines->push_back({engine, forced->empty() ? file : std::string()});
        return engine;
    };
}

std::vector<std::string> CapturingEngines::Played() const {
    std::vector<std::string> files;
    for (const Engine& made : *engines_) {
        if (!made.file.empty() && std::filesystem::exists(made.file)) files.push_back(made.file);
    }
    return files;
}

int CapturingEngines::Made() const { return static_cast<int>(engines_->size()); }

int CapturingEngines::Alive() const {
    int alive = 0;
    for (const Engine& made : *engines_) alive += made.engine.expired() ? 0 : 1;
    return alive;
}

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step) {
    for (int i = 0; i < 20000; ++i) {
        if (step) step();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace tunekist::test
