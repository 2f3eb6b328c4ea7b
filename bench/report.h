#pragma once
// The whole benchmark run: data, warm-up, every figure with its baseline, and the table.

#include <string>

namespace tunekist::bench {

struct Settings {
    std::string self;         // this program, run again to play a song
    std::string dataFolder;   // where the songs are made
    std::string probe;        // bench-window-probe
    std::string scan;         // tunekist-scan
    std::string taglib;       // bench-taglib-lengths
    int songs = 1000;         // per data set
    bool windowOnly = false;  // only the window's figures and their baselines
};

// Runs every measurement and prints the table on standard output. True when every target is met.
bool RunBenchmarks(const Settings& settings);

}  // namespace tunekist::bench
