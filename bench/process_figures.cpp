#include "bench/process_figures.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "bench/child_process.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/sdl_audio_output.h"

namespace tunekist::bench {

namespace {

template <typename Measure>
Spread Repeat(int rounds, Measure measure) {
    Spread spread;
    for (int round = 0; round < rounds; ++round) spread.Add(measure());
    return spread;
}

Cost CostOf(const ChildRun& run) { return {run.wallSeconds, run.cpuSeconds}; }

// SDL's disk driver writing to /dev/null without waiting between periods.
ChildOptions DiskDriver() {
    return ChildOptions{{{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/dev/null"}, {"SDL_DISKAUDIODELAY", "0"}}};
}

ChildRun Succeeded(const ChildRun& run, const std::string& what) {
    if (run.exitCode != 0) throw std::runtime_error(what + " failed");
    return run;
}

}  // namespace

Spread FfprobeCostPerFile(const std::vector<std::string>& files, int rounds) {
    return Repeat(rounds, [&] {
        Cost total;
        for (const std::string& file : files) {
            const Cost cost = CostOf(Succeeded(
                RunChild({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file}),
                "ffprobe"));
            total = {total.wall + cost.wall, total.cpu + cost.cpu};
        }
        const auto count = static_cast<double>(files.size());
        return Cost{total.wall / count, total.cpu / count};
    });
}

Spread PlayingCost(const std::string& benchProgram, const std::string& file, int rounds) {
    return Repeat(rounds, [&] {
        return CostOf(Succeeded(RunChild({benchProgram, "play", file}, DiskDriver()), "playing"));
    });
}

Spread SilenceCost(const std::string& benchProgram, std::int64_t frames, int periodFrames, int rounds) {
    return Repeat(rounds, [&] {
        return CostOf(Succeeded(
            RunChild({benchProgram, "silence", std::to_string(frames), std::to_string(periodFrames)}, DiskDriver()),
            "silence"));
    });
}

Spread Mpg123Cost(const std::string& file, int rounds) {
    return Repeat(rounds, [&] { return CostOf(Succeeded(RunChild({"mpg123", "-q", "-s", file}), "mpg123")); });
}

std::int64_t Mpg123SampleFrames(const std::string& file) {
    const ChildRun run = Succeeded(RunChild({"mpg123", "-q", "-s", file}, ChildOptions{{}, true}), "mpg123");
    // 16-bit stereo: four bytes per sample frame.
    return static_cast<std::int64_t>(run.output.size() / 4);
}

StartupResult TimeStartup(const std::string& probe, const std::string& mode, int rounds) {
    StartupResult result;
    const ChildOptions offscreen{{{"QT_QPA_PLATFORM", "offscreen"}}, true};
    result.time = Repeat(rounds, [&] {
        const ChildRun run = Succeeded(RunChild({probe, mode}, offscreen), "the " + mode + " window");
        result.rssKb = std::max(result.rssKb, std::stol(run.output));
        return CostOf(run);
    });
    return result;
}

int PlaySong(const std::string& file) {
    IMediaControl engine = MakeRealEngineFactory()();
    engine->RenderFile(file);
    engine->Run();
    const double duration = engine->get_Duration();
    // Looking rarely keeps the looking itself out of the processor time.
    while (engine->get_CurrentPosition() < duration) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return 0;
}

}  // namespace tunekist::bench

namespace tunekist::bench {

int PlaySilence(std::int64_t frames, int periodFrames) {
    std::atomic<std::int64_t> played{0};
    SdlAudioOutput output(
        44100,
        [&](std::span<std::int16_t> out) {
            std::fill(out.begin(), out.end(), std::int16_t{0});
            played.fetch_add(static_cast<std::int64_t>(out.size() / 2));
        },
        static_cast<Uint16>(periodFrames));
    output.Play();
    while (played.load() < frames) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return 0;
}

}  // namespace tunekist::bench
