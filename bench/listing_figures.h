#pragma once
// The figures measured inside this process: the I/O floor, listing folders through the real song
// list with the real engine, the longest stretch between two yields of a listing, and measuring a
// playlist again. Each is taken as wall-clock and as processor time.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/data_sets.h"

namespace tunekist::bench {

// Reading every byte of `files` once with plain read(2) calls, `rounds` times.
Spread ReadEveryByte(const std::vector<std::string>& files, int rounds);

struct ListingResult {
    Spread time;
    // Per round, the longest stretch without a yield to the event loop (from the start to the
    // first yield, between two, or from the last to the end).
    std::vector<Cost> longestGaps;
    std::size_t songs = 0;
    std::string inexact;  // the first song whose duration differed from its reference, if any

    // Takes in the rounds of another listing of the same folder.
    void Add(const ListingResult& more);
};

// Lists `set.folder` `rounds` times through the song list, each time with the duration cache
// emptied first, and checks every song's duration against `referenceBySize` (the exact seconds
// of a song, by its size in bytes).
ListingResult TimeListing(const DataSet& set, const std::map<std::uintmax_t, double>& referenceBySize, int rounds);

struct PlaylistResult {
    Cost first;    // the first measure, every file read
    Spread later;  // later measures of the unchanged playlist
    std::string totalText;
};

// Fills a playlist with `files` and measures it `rounds` + 1 times with ShowPlaylistTotal.
PlaylistResult TimePlaylistTotal(const std::vector<std::string>& files, int rounds);

}  // namespace tunekist::bench
