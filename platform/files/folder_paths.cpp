#include "platform/files/folder_paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace tunekist {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

std::string WorkingFolder() {
    std::string buffer(4096, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.c_str();
}

bool IgnoringCaseBefore(const std::string& a, const std::string& b) {
    const int order = strcasecmp(a.c_str(), b.c_str());
    return order != 0 ? order < 0 : a < b;
}

}  // namespace

std::string NormalFolderPath(const std::string& path) {
    const std::string absolute = !path.empty() && path[0] == '/' ? path : WorkingFolder() + "/" + path;
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        const std::size_t end = std::min(absolute.find('/', start), absolute.size());
        const std::string name = absolute.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::string normal;
    for (const auto& name : names) normal += "/" + name;
    return normal.empty() ? "/" : normal;
}

std::vector<std::string> FolderChain(const std::string& path) {
    std::vector<std::string> chain = {"/"};
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        chain.push_back(path.substr(0, slash));
    }
    if (path != "/") chain.push_back(path);
    return chain;
}

std::string LastName(const std::string& path) {
    if (path == "/") return path;
    return path.substr(path.rfind('/') + 1);
}

FolderReading ReadFolder(const std::string& path, const std::function<bool(const std::string& name)>& nameWanted) {
    DirHandle dir(opendir(path.c_str()));
    if (!dir) throw std::runtime_error("Map niet te lezen: " + path + " (" + std::strerror(errno) + ")");
    FolderReading reading{path, {}};
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.' || !nameWanted(name)) continue;
        struct stat status {};
        // stat follows links: a link counts for what it leads to, a dangling link not at all.
        if (fstatat(dirfd(dir.get()), entry->d_name, &status, 0) == 0)
            reading.entries.push_back({name, status.st_mode});
    }
    return reading;
}

std::vector<std::string> SortedNames(const FolderReading& reading,
                                     const std::function<bool(const std::string& name)>& nameWanted,
                                     bool (*kindWanted)(mode_t mode)) {
    std::vector<std::string> names;
    for (const FolderEntry& entry : reading.entries) {
        if (nameWanted(entry.name) && kindWanted(entry.mode)) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), IgnoringCaseBefore);
    return names;
}

std::vector<std::string> Subfolders(const FolderReading& reading) {
    return SortedNames(reading, AnyName, [](mode_t mode) { return S_ISDIR(mode); });
}

std::int64_t FileLength(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        throw std::runtime_error("Bestand niet te lezen: " + path + " (" + std::strerror(errno) + ")");
    }
    return static_cast<std::int64_t>(status.st_size);
}

}  // namespace tunekist
