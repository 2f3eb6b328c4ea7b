#include "bench/listing_figures.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "bench/child_process.h"
#include "library/playlist.h"
#include "platform/engine/duration_cache.h"
#include "platform/engine/real_engine.h"
#include "platform/files/folder_file_list.h"
#include "playback/playback_state.h"
#include "tools/folder_listing.h"
#include "tools/memory_controls.h"

namespace tunekist::bench {

namespace {

// The read size at which plain reads from the page cache were fastest on the bench machine.
constexpr std::size_t kReadBytes = 128 * 1024;

std::int64_t ReadFile(const std::string& path, std::vector<char>& buffer) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::int64_t total = 0;
    for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;) total += got;
    close(fd);
    return total;
}

std::string CheckExact(const FolderListing& listing, const std::string& folder,
                       const std::map<std::uintmax_t, double>& referenceBySize) {
    for (const ListedSong& song : listing.songs) {
        const auto reference = referenceBySize.find(std::filesystem::file_size(folder + "/" + song.fileName));
        if (!song.seconds || reference == referenceBySize.end() || *song.seconds != reference->second) {
            return song.fileName;
        }
    }
    return "";
}

}  // namespace

Spread ReadEveryByte(const std::vector<std::string>& files, int rounds) {
    std::vector<char> buffer(kReadBytes);
    Spread spread;
    for (int round = 0; round < rounds; ++round) {
        const Cost start{Now(), CpuNow()};
        for (const std::string& file : files) ReadFile(file, buffer);
        spread.Add({Now() - start.wall, CpuNow() - start.cpu});
    }
    return spread;
}

void ListingResult::Add(const ListingResult& more) {
    if (more.longestGaps.empty()) return;  // no rounds
    time.Add(more.time.best);
    time.Add(more.time.worst);
    longestGaps.insert(longestGaps.end(), more.longestGaps.begin(), more.longestGaps.end());
    songs = more.songs;
    if (inexact.empty()) inexact = more.inexact;
}

ListingResult TimeListing(const DataSet& set, const std::map<std::uintmax_t, double>& referenceBySize, int rounds) {
    ListingResult result;
    for (int round = 0; round < rounds; ++round) {
        DurationCache::Instance().Clear();
        Cost lastTurn{Now(), CpuNow()};
        Cost longestGap;
        const auto turn = [&] {
            const Cost now{Now(), CpuNow()};
            longestGap = {std::max(longestGap.wall, now.wall - lastTurn.wall),
                          std::max(longestGap.cpu, now.cpu - lastTurn.cpu)};
            lastTurn = now;
        };
        MemoryDesktop desktop(turn);
        const Cost start = lastTurn;
        const FolderListing listing = ListFolderAsSongList(set.folder, MakeRealEngineFactory(), desktop);
        turn();
        result.time.Add({lastTurn.wall - start.wall, lastTurn.cpu - start.cpu});
        result.longestGaps.push_back(longestGap);
        result.songs = listing.songs.size();
        if (result.inexact.empty()) result.inexact = CheckExact(listing, set.folder, referenceBySize);
    }
    return result;
}

PlaylistResult TimePlaylistTotal(const std::vector<std::string>& files, int rounds) {
    PlaybackState state;
    MemoryListView ListView1;
    MemoryListView ListView2;
    MemoryListBox List1;
    FolderFileList File1;
    MemoryLabel Label5;
    MemoryMessageBox messageBox;
    Playlist playlist(state, MakeRealEngineFactory(), ListView1, ListView2, List1, File1, Label5, messageBox);
    for (const std::string& file : files) List1.AddItem(file);
    DurationCache::Instance().Clear();
    PlaylistResult result;
    const auto timed = [&] {
        const Cost start{Now(), CpuNow()};
        playlist.ShowPlaylistTotal();
        return Cost{Now() - start.wall, CpuNow() - start.cpu};
    };
    result.first = timed();
    for (int round = 0; round < rounds; ++round) result.later.Add(timed());
    result.totalText = Label5.Caption();
    return result;
}

}  // namespace tunekist::bench
