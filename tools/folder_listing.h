#pragma once
// A folder listed by the song list itself (its file selection, order, time and size texts and
// total), with controls that live in memory instead of a window.

#include <optional>
#include <string>
#include <vector>

#include "playback/media_engine.h"
#include "tools/memory_controls.h"

namespace tunekist {

struct ListedSong {
    std::string fileName;           // raw file-system bytes
    std::string timeText;           // the "Tijd" column
    std::string sizeText;           // the "Omvang" column, empty when the length could not be read
    std::optional<double> seconds;  // what the engine measured
    std::string error;              // the engine's text when it measured nothing
};

struct FolderListing {
    std::vector<ListedSong> songs;  // in the song list's order
    std::string countText;          // Label1, "N Songs"
    std::string totalText;          // Label2, "Totaal : HH:MM:SS"
    // What the song list showed in message boxes; a folder that could not be read is one.
    std::vector<std::string> messages;
};

// Lists `folder` as the window does when the folder list moves to it: the song list's
// Dir1_Change with the file list's "*.mp3" pattern, every file measured by an engine of
// `engines`. `desktop` supplies file lengths, the locale's separator and the yields.
FolderListing ListFolderAsSongList(const std::string& folder, const EngineFactory& engines, MemoryDesktop& desktop);

}  // namespace tunekist
