#include "tests/e2e/capture.h"

#include <cmath>
#include <limits>

#include "platform/engine/mpg123_decoder.h"
#include "tests/engine/disk_output.h"

namespace tunekist::test {

Heard Analyse(const std::vector<float>& samples, int sampleRate) {
    // The device writes silence while the song is paused or over: dropped.
    const std::vector<float> left = PlayedLeftChannel(samples);
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

std::vector<Heard> HeardAfterClosing(Main& main, const RealEngines& engines) {
    main.Form_Unload();
    std::vector<Heard> heard;
    for (const std::vector<float>& samples : engines.Played()) heard.push_back(Analyse(samples));
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

}  // namespace tunekist::test
