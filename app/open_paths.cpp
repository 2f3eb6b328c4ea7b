#include "app/open_paths.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>

#include "library/playlist.h"
#include "platform/files/file_name_text.h"
#include "platform/files/folder_paths.h"
#include "platform/ignore_error.h"

namespace tunekist {
namespace {

constexpr const char* kCannotOpen = "Kan niet openen:\n";

enum class PathKind { Folder, Song, Unusable };

bool HasMp3Extension(const std::string& name) {
    return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".mp3") == 0;
}

PathKind KindOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return PathKind::Unusable;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    if (S_ISREG(info.st_mode) && HasMp3Extension(LastName(path)) && access(path.c_str(), R_OK) == 0) {
        return PathKind::Song;
    }
    return PathKind::Unusable;
}

bool IsListed(Main& main, const std::string& folder) {
    return NormalFolderPath(main.Controls().File1.Path()) == folder;
}

// Chooses `folder` in the drive list and the folder list, which lists it. A folder the folder list
// already shows is listed anyway when the song list holds another one (at start-up it holds none).
void OpenFolder(Main& main, const std::string& folder) {
    const MainControls& controls = main.Controls();
    controls.Drive1.SelectDriveOf(folder);
    controls.Dir1.SetPath(folder);
    if (!IsListed(main, folder)) main.songList.Dir1_Change();
}

std::optional<int> RowOfFile(const ListView& rows, const std::string& fileName) {
    for (int row = 1; row <= rows.RowCount(); ++row) {
        if (rows.RowTag(row) == fileName) return row;
    }
    return std::nullopt;
}

void AddSong(Main& main, const std::string& path) {
    const std::string folder = NormalFolderPath(path + "/..");
    const std::string fileName = LastName(NormalFolderPath(path));
    const bool listedBefore = IsListed(main, folder);
    if (!listedBefore) OpenFolder(main, folder);
    ListView& rows = main.Controls().ListView1;
    std::optional<int> row = RowOfFile(rows, fileName);
    // A song saved into the listed folder since it was listed: the folder is listed again.
    if (!row && listedBefore) {
        main.songList.Dir1_Change();
        row = RowOfFile(rows, fileName);
    }
    if (!row || !IsListed(main, folder)) throw std::runtime_error("not in the song list");
    rows.SelectRow(*row);
    main.playlist.ListView1_ItemClick();
}

void OpenPath(Main& main, const std::string& path) {
    switch (KindOf(path)) {
        case PathKind::Folder: OpenFolder(main, NormalFolderPath(path)); break;
        case PathKind::Song: AddSong(main, path); break;
        case PathKind::Unusable: throw std::runtime_error("neither a folder nor a song");
    }
}

}  // namespace

void OpenPaths(Main& main, const std::vector<std::string>& paths) {
    MessageBox& messageBox = main.Controls().messageBox;
    for (const std::string& path : paths) {
        if (main.state.Playing) {
            IgnoreError([&] { messageBox.Show(kRefusalWhilePlaying); });
            return;
        }
        try {
            OpenPath(main, path);
        } catch (const std::exception&) {
            IgnoreError([&] { messageBox.Show(kCannotOpen + FileNameText(path)); });
        }
    }
}

}  // namespace tunekist
