#pragma once
// Folders and files made for one test and removed with it, whatever the test left in them
// (unreadable entries, FIFOs, dangling links).

#include <cstdint>
#include <filesystem>
#include <string>

namespace tunekist::test {

class ScratchFolder {
public:
    // Makes a new empty folder under the temporary folder, named after `name` and the process.
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` (raw bytes) inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A copy of `source` at `target` that shares nothing with it (a new inode).
void CopyFile(const std::string& source, const std::string& target);

// The 64-bit FNV-1a hash of every byte of the file at `path`.
std::uint64_t HashOfFile(const std::string& path);

}  // namespace tunekist::test
