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
    // Says that a listing measures the entries from `index` on next, one after another; an index
    // of ListCount() or more says that it has ended or stopped. The platform may start reading
    // what measuring them needs. A hint only: what the list holds does not change.
    virtual void MeasuringFrom(int /*index*/) {}
};

}  // namespace tunekist
