#include "tests/reliability/scratch_folder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace tunekist::test {

ScratchFolder::ScratchFolder(const std::string& name) {
    static std::atomic<int> made{0};
    path_ = std::filesystem::temp_directory_path().string() + "/tunekist-" + name + "-" + std::to_string(getpid()) +
            "-" + std::to_string(made++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(path_, ignored);
}

void CopyFile(const std::string& source, const std::string& target) {
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
}

std::uint64_t HashOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::uint64_t hash = 14695981039346656037ull;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash = (hash ^ static_cast<unsigned char>(block[i])) * 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace tunekist::test
