#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/engine/listing_read_ahead.h"
#include "platform/files/folder_paths.h"
#include "platform/ui/file_list.h"

namespace tunekist {

// The names of one folder's entries that match the pattern "*.<ext>", ignoring case: regular files
// only (a link counts when it leads to one), hidden names (starting with ".") left out, sorted by
// name ignoring case. Names are the file system's raw bytes.
class FolderFileList : public FileList {
public:
    // While it lives, the next SetPath lists from `reading` instead of reading the folder again,
    // when it asks for the folder `reading` holds (any other path is read as always): for a folder
    // the folder list read a moment ago, raising the change that the listing answers. Used once.
    class FreshReading {
    public:
        FreshReading(FolderFileList& list, std::optional<FolderReading> reading);
        ~FreshReading() { list_.fresh_.reset(); }
        FreshReading(const FreshReading&) = delete;
        FreshReading& operator=(const FreshReading&) = delete;

    private:
        FolderFileList& list_;
    };

    void SetPath(const std::string& path) override;
    std::string Path() const override { return path_; }
    void SetPattern(const std::string& pattern) override;
    int ListCount() const override { return static_cast<int>(names_.size()); }
    std::string List(int index) const override { return names_.at(static_cast<std::size_t>(index)); }
    // Hints the songs ahead of `index` to the kernel (ListingReadAhead); a new path or pattern, or
    // an index past the end, drops the hints of the listing before.
    void MeasuringFrom(int index) override;

private:
    void Reread();
    std::string path_;
    std::string pattern_ = "*.*";
    std::vector<std::string> names_;
    std::unique_ptr<ListingReadAhead> readAhead_;
    std::optional<FolderReading> fresh_;
};

// True when `name` matches `pattern` ("*", or "*.ext" ignoring ASCII case).
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace tunekist
