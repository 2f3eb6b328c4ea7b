#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tunekist {

// `path` made absolute (a relative one is taken from the working folder) with "." and ".."
// resolved by name and no doubled or trailing "/" ("/" stays "/"). Bytes other than "/" are kept
// as they are, so names that are not valid UTF-8 survive.
std::string NormalFolderPath(const std::string& path);

// The folders from the root down to `path` itself, each as a full path: "/home/ann" gives "/",
// "/home", "/home/ann". `path` must be normal (see NormalFolderPath).
std::vector<std::string> FolderChain(const std::string& path);

// The last name of a normal path ("/" for the root).
std::string LastName(const std::string& path);

// What one pass over a folder found: its entries that are not hidden (starting with "."), each
// with the kind of what it leads to (links are followed; a dangling link is left out).
struct FolderEntry {
    std::string name;
    mode_t mode = 0;
};
struct FolderReading {
    std::string path;
    std::vector<FolderEntry> entries;
};

// Accepts every name: for a reading that looks at every entry.
inline bool AnyName(const std::string&) { return true; }

// Reads `path` in one pass. Only the entries whose name `nameWanted` accepts are looked at, so
// unwanted names cost no stat. Throws std::runtime_error with a text fit to show when the folder
// cannot be read.
FolderReading ReadFolder(const std::string& path, const std::function<bool(const std::string& name)>& nameWanted);

// The names of `reading`'s entries that `nameWanted` and `kindWanted` accept, sorted by name
// ignoring case.
std::vector<std::string> SortedNames(const FolderReading& reading,
                                     const std::function<bool(const std::string& name)>& nameWanted,
                                     bool (*kindWanted)(mode_t mode));

// The names of `reading`'s subfolders (a link counts when it leads to a folder), sorted by name
// ignoring case.
std::vector<std::string> Subfolders(const FolderReading& reading);

// The length in bytes of the file at `path`; throws std::runtime_error when it cannot be read.
std::int64_t FileLength(const std::string& path);

}  // namespace tunekist
