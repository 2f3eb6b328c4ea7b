#pragma once
// The benchmark's songs, made deterministically in a folder of the build tree: one four-minute
// recording (pink noise and a tone, sox in repeatable mode) encoded twice by lame at 128 kb/s,
// once constant with its LAME tag and once average (VBR frames) with every Xing tag turned off,
// each copied into a folder of its own. A third folder mixes the two, hard links to every other
// file of each; a fourth links the first 300 untagged songs. Three short songs of their own serve
// the song changes. Files that are already there as they should be are kept.

#include <string>
#include <vector>

namespace tunekist::bench {

struct DataSet {
    std::string name;  // "tagged", "untagged", "mix"
    std::string folder;
    std::vector<std::string> files;  // full paths, in name order
};

struct DataSets {
    std::string taggedSource;    // the LAME-tagged song the copies were made from
    std::string untaggedSource;  // the untagged VBR song
    std::vector<DataSet> sets;   // tagged, untagged, mix
    DataSet untaggedFew;         // hard links to the first 300 untagged songs, for the window
    std::string changeFolder;    // three songs of two seconds, for the window's song changes
    std::string emptyFolder;     // no songs: what starting a lister costs
};

// Makes (or finds) `songs` songs in each set under `folder`. Throws std::runtime_error when sox or
// lame fails.
DataSets MakeDataSets(const std::string& folder, int songs);

}  // namespace tunekist::bench
