// Feeds arbitrary bytes, as a file, through the engine's open-and-decode path: RenderFile and
// get_Duration on a real engine, then a full decode and a seek with the engine's decoder. No
// audio device is opened. Any crash, leak, hang or undefined behaviour is a finding; an
// EngineError is the expected answer to a file that holds no audio.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"

namespace {

std::string ScratchPath() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/tunekist-engine-fuzz-" + std::to_string(getpid()) + ".mp3";
}

void WriteAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

void DecodeEverything(const std::string& path, double seconds) {
    tunekist::Mpg123Decoder decoder(path);
    std::vector<tunekist::Sample> block(4096 * tunekist::Mpg123Decoder::kChannels);
    std::int64_t frames = 0;
    while (const std::size_t got = decoder.Read(block)) frames += static_cast<std::int64_t>(got);
    // Seeking into the middle of what was measured must not fault either.
    const auto middle = static_cast<std::int64_t>(seconds * static_cast<double>(decoder.SampleRate()) / 2);
    decoder.Seek(middle);
    while (decoder.Read(block) != 0) {}
    (void)frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath();
    WriteAll(path, data, size);
    double seconds = 0;
    try {
        tunekist::RealEngine engine;
        engine.RenderFile(path);
        seconds = engine.get_Duration();
        if (!(seconds >= 0)) std::abort();  // a length is never negative or NaN
        engine.get_CurrentPosition();
    } catch (const tunekist::EngineError&) {
        return 0;
    }
    try {
        DecodeEverything(path, seconds);
    } catch (const tunekist::EngineError&) {}
    return 0;
}
