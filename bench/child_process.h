#pragma once
// Running another program for a measurement: its wall time, the processor time it used (user and
// system, its threads included) and what it wrote to standard output.

#include <map>
#include <string>
#include <vector>

namespace tunekist::bench {

struct ChildRun {
    int exitCode = -1;  // -1 when it did not exit normally
    double wallSeconds = 0;
    double cpuSeconds = 0;  // user + system
    long peakRssKb = 0;
    std::string output;  // standard output, when kept
};

struct ChildOptions {
    std::map<std::string, std::string> environment;  // set on top of this process's own
    bool keepOutput = false;                         // else standard output goes to /dev/null
};

// Runs `arguments` (the program is looked up in PATH) and waits for it. Standard error goes to
// /dev/null. Throws std::runtime_error when it cannot be started.
ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options = {});

// Seconds on a steady clock.
double Now();
// Processor seconds this process has used so far (every thread, user and system).
double CpuNow();

// What something cost: wall-clock seconds and processor seconds.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

// The smallest and largest of repeated costs, each kind on its own.
struct Spread {
    Cost best{1e300, 1e300};
    Cost worst{0, 0};
    void Add(const Cost& cost);
};

}  // namespace tunekist::bench
