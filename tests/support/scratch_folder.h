#pragma once
// Folders made for one test and removed with it, whatever the test left in them (unreadable
// entries, FIFOs, dangling links), and files copied into them.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

namespace tunekist::test {

class ScratchFolder {
public:
    // Makes a new empty folder under the temporary folder, named after `name` and the process.
    explicit ScratchFolder(const std::string& name) {
        static std::atomic<int> made{0};
        path_ = std::filesystem::temp_directory_path().string() + "/tunekist-" + name + "-" + std::to_string(getpid()) +
                "-" + std::to_string(made++);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` (raw bytes) inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A copy of `source` at `target` that shares nothing with it (a new inode).
inline void CopyFile(const std::string& source, const std::string& target) {
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
}

}  // namespace tunekist::test
