#pragma once
// The figures of the program's own window, each measured in a process of its own (the probe):
// listing a folder from its opening to its last painted row, and the longest stretch between two
// turns of the window's event loop during a listing and at a change of song. Beside them, the
// same folders listed by `tunekist-scan` and by TagLib (a peer that estimates lengths from a few
// kilobytes per file).

#include <map>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/data_sets.h"

namespace tunekist::bench {

struct Programs {
    std::string probe;   // bench-window-probe
    std::string scan;    // tunekist-scan
    std::string taglib;  // bench-taglib-lengths
};

struct WindowListing {
    Spread window;                  // the listing inside the window's process
    Spread scan;                    // the whole tunekist-scan process
    Spread taglib;                  // the whole TagLib process
    Spread scanStart;               // tunekist-scan on an empty folder: its start-up and end
    Spread taglibStart;             // the same for TagLib
    std::vector<double> gapsMs;     // per round, the window's longest event-loop gap, on the clock
    std::vector<double> gapsCpuMs;  // ... and in the window thread's processor time
    int rows = 0;                   // rows the window showed (the last round)
    std::string inexact;            // the first song tunekist-scan measured wrong, if any
    int taglibOff = 0;              // songs whose TagLib length is off by more than a millisecond
};

// Lists `set.folder` `rounds` times in each of the three, round by round (and `emptyFolder` with
// tunekist-scan and TagLib), and checks tunekist-scan's every length against `referenceBySize`
// (exact seconds by file size).
WindowListing TimeWindowListing(const Programs& programs, const DataSet& set, const std::string& emptyFolder,
                                const std::map<std::uintmax_t, double>& referenceBySize, int rounds);

struct SongChangeGaps {
    std::vector<double> atPlayMs;        // per round, around Play with no device open
    std::vector<double> firstSamplesMs;  // per round, from Play until the device took the first samples
    std::vector<double> atNextMs;        // per round, around Next
    std::vector<double> atEndMs;         // per round, around a song's own end
};

// Plays the three songs of `folder` (44.1, 48 and 22.05 kHz) in the window `rounds` times (SDL's disk
// driver, paced as a device would be) and measures the gaps around Play from rest, Next and a
// song's end, each of the last two a change of sample rate.
SongChangeGaps TimeSongChanges(const Programs& programs, const std::string& folder, int rounds);

}  // namespace tunekist::bench
