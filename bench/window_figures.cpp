#include "bench/window_figures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace tunekist::bench {

namespace {

// The window under the X server of the run when there is one (bench/run starts Xvfb), else Qt's
// offscreen platform; the song list's listing needs no sound.
ChildOptions WindowOptions() {
    const char* display = std::getenv("DISPLAY");
    return ChildOptions{{{"QT_QPA_PLATFORM", display && *display ? "xcb" : "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}},
                        true};
}

ChildRun Succeeded(const ChildRun& run, const std::string& what) {
    if (run.exitCode != 0) throw std::runtime_error(what + " failed");
    return run;
}

// The first song whose length in tunekist-scan's output differs from its reference.
std::string CheckScan(const std::string& output, const std::string& folder,
                      const std::map<std::uintmax_t, double>& referenceBySize) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name, time, size, seconds;
        std::getline(fields, name, '\t');
        std::getline(fields, time, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, seconds, '\t');
        if (name == "total") continue;
        const auto reference = referenceBySize.find(std::filesystem::file_size(folder + "/" + name));
        char expected[64];
        if (reference != referenceBySize.end()) std::snprintf(expected, sizeof expected, "%.6f", reference->second);
        if (reference == referenceBySize.end() || seconds != expected) return name;
    }
    return "";
}

int TaglibOff(const std::string& output, const std::string& folder,
              const std::map<std::uintmax_t, double>& referenceBySize) {
    int off = 0;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        const auto reference = referenceBySize.find(std::filesystem::file_size(folder + "/" + line.substr(0, tab)));
        const double milliseconds = std::stod(line.substr(tab + 1));
        if (reference == referenceBySize.end() || std::abs(milliseconds - reference->second * 1000) > 1) ++off;
    }
    return off;
}

}  // namespace

WindowListing TimeWindowListing(const Programs& programs, const DataSet& set, const std::string& emptyFolder,
                                const std::map<std::uintmax_t, double>& referenceBySize, int rounds) {
    WindowListing result;
    for (int round = 0; round < rounds; ++round) {
        const ChildRun window =
            Succeeded(RunChild({programs.probe, "list", set.folder}, WindowOptions()), "the window");
        double cpu = 0, wall = 0, gap = 0, gapCpu = 0;
        if (std::sscanf(window.output.c_str(), "%lf %lf %d %lf %lf", &cpu, &wall, &result.rows, &gap, &gapCpu) != 5) {
            throw std::runtime_error("the window's listing printed no figures");
        }
        result.window.Add({wall, cpu});
        result.gapsMs.push_back(gap);
        result.gapsCpuMs.push_back(gapCpu);
        const ChildRun scan = Succeeded(RunChild({programs.scan, set.folder}, ChildOptions{{}, true}), "tunekist-scan");
        result.scan.Add({scan.wallSeconds, scan.cpuSeconds});
        if (result.inexact.empty()) result.inexact = CheckScan(scan.output, set.folder, referenceBySize);
        const ChildRun taglib = Succeeded(RunChild({programs.taglib, set.folder}, ChildOptions{{}, true}), "TagLib");
        result.taglib.Add({taglib.wallSeconds, taglib.cpuSeconds});
        result.taglibOff = TaglibOff(taglib.output, set.folder, referenceBySize);
        const ChildRun scanStart = Succeeded(RunChild({programs.scan, emptyFolder}), "tunekist-scan");
        result.scanStart.Add({scanStart.wallSeconds, scanStart.cpuSeconds});
        const ChildRun taglibStart = Succeeded(RunChild({programs.taglib, emptyFolder}), "TagLib");
        result.taglibStart.Add({taglibStart.wallSeconds, taglibStart.cpuSeconds});
    }
    return result;
}

SongChangeGaps TimeSongChanges(const Programs& programs, const std::string& folder, int rounds) {
    ChildOptions options = WindowOptions();
    options.environment["SDL_AUDIODRIVER"] = "disk";
    options.environment["SDL_DISKAUDIOFILE"] = "/dev/null";
    SongChangeGaps gaps;
    for (int round = 0; round < rounds; ++round) {
        const ChildRun run = Succeeded(RunChild({programs.probe, "change", folder}, options), "the song changes");
        double atPlay = 0, firstSamples = 0, atNext = 0, atEnd = 0;
        int left = -1;
        if (std::sscanf(run.output.c_str(), "%lf %lf %lf %lf %d", &atPlay, &firstSamples, &atNext, &atEnd, &left) !=
                5 ||
            left != 1 || firstSamples < 0) {
            throw std::runtime_error("the window did not play its songs in turn");
        }
        gaps.atPlayMs.push_back(atPlay);
        gaps.firstSamplesMs.push_back(firstSamples);
        gaps.atNextMs.push_back(atNext);
        gaps.atEndMs.push_back(atEnd);
    }
    return gaps;
}

}  // namespace tunekist::bench
