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

// The names of `path`'s entries that are not hidden (starting with "."), whose name `nameWanted`
// accepts and that lead to something `kindWanted` accepts (links are followed; a dangling link is
// left out), sorted by name ignoring case. The name is tested first, so unwanted names cost no
// stat. Throws std::runtime_error with a text fit to show when the folder cannot be read.
std::vector<std::string> ReadFolderEntries(const std::string& path,
                                           const std::function<bool(const std::string& name)>& nameWanted,
                                           bool (*kindWanted)(mode_t mode));

// The names of the subfolders of `path` (a link counts when it leads to a folder), hidden names
// (starting with ".") left out, sorted by name ignoring case. Throws std::runtime_error with a text
// fit to show when the folder cannot be read.
std::vector<std::string> ReadSubfolders(const std::string& path);

// The length in bytes of the file at `path`; throws std::runtime_error when it cannot be read.
std::int64_t FileLength(const std::string& path);

}  // namespace tunekist
