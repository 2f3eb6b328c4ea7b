#include "tools/folder_listing.h"

#include "library/song_list.h"
#include "library/song_path.h"
#include "platform/files/folder_file_list.h"
#include "playback/playback_state.h"
#include "tools/recording_engine.h"

namespace tunekist {

FolderListing ListFolderAsSongList(const std::string& folder, const EngineFactory& engines, MemoryDesktop& desktop) {
    MeasurementLog log;
    PlaybackState state;
    MemoryDriveList drive;
    MemoryDirList dir;
    FolderFileList files;
    MemoryListView rows;
    MemoryLabel count;
    MemoryLabel total;
    MemoryMessageBox messages;
    files.SetPattern("*.mp3");
    dir.SetPath(folder);
    SongList songList(state, MakeRecordingEngineFactory(engines, log),
                      SongListControls{drive, dir, files, rows, count, total, messages, desktop});
    songList.Dir1_Change();

    FolderListing listing;
    for (int row = 1; row <= rows.RowCount(); ++row) {
        ListedSong song{rows.RowTag(row), rows.SubItem(row, 1), rows.SubItem(row, 2), std::nullopt, ""};
        const auto measured = log.find(JoinPath(files.Path(), song.fileName));
        if (measured != log.end()) {
            if (const double* seconds = std::get_if<double>(&measured->second)) {
                song.seconds = *seconds;
            } else {
                song.error = std::get<std::string>(measured->second);
            }
        }
        listing.songs.push_back(std::move(song));
    }
    listing.countText = count.Caption();
    listing.totalText = total.Caption();
    listing.messages = messages.Shown();
    return listing;
}

}  // namespace tunekist
