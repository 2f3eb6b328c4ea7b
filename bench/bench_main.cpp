// tunekist-bench: makes the benchmark's songs, warms the page cache, measures Tunekist against
// baselines taken in the same run and prints a table (see docs/benchmarks.md).
//   tunekist-bench --data FOLDER --probe PATH --scan PATH --taglib PATH [--songs N] [--only window]
//   tunekist-bench play FILE         (used by the bench itself: plays FILE to its end)
//   tunekist-bench silence FRAMES PERIOD  (used by the bench itself: SDL's output alone)

#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "bench/process_figures.h"
#include "bench/report.h"

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::strcmp(argv[1], "play") == 0) return tunekist::bench::PlaySong(argv[2]);
        if (argc == 4 && std::strcmp(argv[1], "silence") == 0) {
            return tunekist::bench::PlaySilence(std::stoll(argv[2]), std::stoi(argv[3]));
        }
        tunekist::bench::Settings settings;
        settings.self = argv[0];
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string option = argv[i];
            if (option == "--data") {
                settings.dataFolder = argv[i + 1];
            } else if (option == "--probe") {
                settings.probe = argv[i + 1];
            } else if (option == "--scan") {
                settings.scan = argv[i + 1];
            } else if (option == "--taglib") {
                settings.taglib = argv[i + 1];
            } else if (option == "--only") {
                if (std::string(argv[i + 1]) != "window") throw std::invalid_argument("--only takes: window");
                settings.windowOnly = true;
            } else if (option == "--songs") {
                settings.songs = std::stoi(argv[i + 1]);
            } else {
                throw std::invalid_argument("unknown option " + option);
            }
        }
        if (settings.dataFolder.empty() || settings.probe.empty() || settings.scan.empty() || settings.taglib.empty() ||
            argc % 2 == 0) {
            std::fprintf(stderr,
                         "usage: tunekist-bench --data FOLDER --probe PATH --scan PATH --taglib PATH [--songs N] "
                         "[--only window]\n");
            return 2;
        }
        return tunekist::bench::RunBenchmarks(settings) ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "tunekist-bench: %s\n", failure.what());
        return 1;
    }
}
