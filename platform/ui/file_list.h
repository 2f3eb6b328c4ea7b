#pragma once
#include <string>

namespace tunekist {

// The hidden list of the names (without folder) of one folder's entries that match a pattern.
// Paths and names are raw file-system bytes. Entries count from 0.
class FileList {
public:
    virtual ~FileList() = default;
    // Points the list at `path` and re-reads the folder; throws std::runtime_error (with a text
    // fit to show) when the folder cannot be read, leaving the list as it was.
    virtual void SetPath(const std::string& path) = 0;
    virtual std::string Path() const = 0;
    // Sets the pattern ("*.mp3") and re-reads the folder.
    virtual void SetPattern(const std::string& pattern) = 0;
    virtual int ListCount() const = 0;
    virtual std::string List(int index) const = 0;
};

}  // namespace tunekist
