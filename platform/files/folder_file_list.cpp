#include "platform/files/folder_file_list.h"

#include <strings.h>
#include <sys/stat.h>

#include <utility>

#include "platform/files/folder_paths.h"

namespace tunekist {
namespace {

// The names `pattern` matches.
auto Matching(const std::string& pattern) {
    return [&pattern](const std::string& name) { return MatchesPattern(name, pattern); };
}

bool RegularFile(mode_t mode) { return S_ISREG(mode); }

std::vector<std::string> MatchingNames(const FolderReading& reading, const std::string& pattern) {
    return SortedNames(reading, Matching(pattern), RegularFile);
}

std::vector<std::string> ReadMatchingNames(const std::string& path, const std::string& pattern) {
    // The reading holds only the names the pattern matches: they are not matched again.
    return SortedNames(ReadFolder(path, Matching(pattern)), AnyName, RegularFile);
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    if (pattern.size() < 2 || pattern[0] != '*') return name == pattern;
    const std::string suffix = pattern.substr(1);
    return name.size() > suffix.size() && strcasecmp(name.c_str() + (name.size() - suffix.size()), suffix.c_str()) == 0;
}

FolderFileList::FreshReading::FreshReading(FolderFileList& list, std::optional<FolderReading> reading) : list_(list) {
    list_.fresh_ = std::move(reading);
}

void FolderFileList::SetPath(const std::string& path) {
    const std::optional<FolderReading> fresh = std::exchange(fresh_, std::nullopt);
    // Read first: a folder that cannot be read leaves the list as it was.
    names_ = fresh && fresh->path == path ? MatchingNames(*fresh, pattern_) : ReadMatchingNames(path, pattern_);
    path_ = path;
    readAhead_.reset();
}

void FolderFileList::MeasuringFrom(int index) {
    if (index < 0 || index >= ListCount()) {
        readAhead_.reset();
        return;
    }
    if (!readAhead_) {
        std::vector<std::string> paths;
        paths.reserve(names_.size());
        const std::string folder = path_.ends_with('/') ? path_ : path_ + "/";
        for (const std::string& name : names_) paths.push_back(folder + name);
        readAhead_ = std::make_unique<ListingReadAhead>(std::move(paths));
    }
    readAhead_->MeasuringAt(static_cast<std::size_t>(index));
}

void FolderFileList::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Reread();
    readAhead_.reset();
}

void FolderFileList::Reread() {
    if (path_.empty()) return;
    names_ = ReadMatchingNames(path_, pattern_);
}

}  // namespace tunekist
