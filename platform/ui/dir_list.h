#pragma once
#include <string>

namespace tunekist {

// The folder list: the current folder with its parent chain and its subfolders. Raises its change
// event exactly once whenever its path changes, whether the user opened a folder or SetPath was
// called.
class DirList {
public:
    virtual ~DirList() = default;
    // The current folder, absolute, raw file-system bytes; "/" for the root.
    virtual std::string Path() const = 0;
    // Makes `path` the current folder and raises the change event when that changes the path.
    // Throws std::runtime_error (with a text fit to show) when the folder cannot be read, leaving
    // the list and its path as they were and raising nothing.
    virtual void SetPath(const std::string& path) = 0;
};

}  // namespace tunekist
