#include "platform/files/folder_file_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <strings.h>

namespace tunekist {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool IsRegularFile(int folder, const char* name) {
    struct stat status {};
    // stat follows links: a link to a song counts, a dangling link does not.
    return fstatat(folder, name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

std::vector<std::string> ReadMatchingNames(const std::string& path, const std::string& pattern) {
    DirHandle dir(opendir(path.c_str()));
    if (!dir) throw std::runtime_error("Map niet te lezen: " + path + " (" + std::strerror(errno) + ")");
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;
        if (!MatchesPattern(name, pattern)) continue;
        if (!IsRegularFile(dirfd(dir.get()), entry->d_name)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int order = strcasecmp(a.c_str(), b.c_str());
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

}  // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    if (pattern.size() < 2 || pattern[0] != '*') return name == pattern;
    const std::string suffix = pattern.substr(1);
    return name.size() > suffix.size() &&
           strcasecmp(name.c_str() + (name.size() - suffix.size()), suffix.c_str()) == 0;
}

void FolderFileList::SetPath(const std::string& path) {
    // Read first: a folder that cannot be read leaves the list as it was.
    names_ = ReadMatchingNames(path, pattern_);
    path_ = path;
}

void FolderFileList::SetPattern(const std::string& pattern) {
    pattern_ = pattern;
    Reread();
}

void FolderFileList::Reread() {
    if (path_.empty()) return;
    names_ = ReadMatchingNames(path_, pattern_);
}

}  // namespace tunekist
