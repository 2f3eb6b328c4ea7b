// tunekist-scan FOLDER: prints what the song list shows for FOLDER, one line per song (file name,
// time, size and the measured duration with six decimals, or the engine's error), then the
// folder's total and song count, all separated by tabs. Exits 0 when the folder could be listed;
// otherwise says why on standard error and exits 1 (2 for a wrong command line).

#include <charconv>
#include <cstdio>
#include <string>

#include "platform/engine/real_engine.h"
#include "tools/folder_listing.h"

namespace {

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string DurationField(const tunekist::ListedSong& song) {
    if (!song.seconds) return "error: " + (song.error.empty() ? std::string("not measured") : song.error);
    // As "%.6f" prints it, without the cost of printf's format parsing on every line.
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, *song.seconds, std::chars_format::fixed, 6);
    return std::string(text, written.ptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tunekist-scan FOLDER\n");
        return 2;
    }
    tunekist::MemoryDesktop desktop;
    const tunekist::FolderListing listing =
        tunekist::ListFolderAsSongList(argv[1], tunekist::MakeRealEngineFactory(), desktop);
    if (!listing.messages.empty()) {
        for (const std::string& message : listing.messages)
            std::fprintf(stderr, "tunekist-scan: %s\n", message.c_str());
        return 1;
    }
    for (const tunekist::ListedSong& song : listing.songs) {
        // The name as the file system has it, bytes that are not UTF-8 included.
        Write(song.fileName + "\t" + song.timeText + "\t" + song.sizeText + "\t" + DurationField(song) + "\n");
    }
    Write("total\t" + listing.totalText + "\t" + std::to_string(listing.songs.size()) + "\n");
    return std::fflush(stdout) == 0 ? 0 : 1;
}
