#include "library/song_path.h"

namespace tunekist {

std::string JoinPath(const std::string& folder, const std::string& fileName) {
    if (!folder.empty() && folder.back() == '/') return folder + fileName;
    return folder + "/" + fileName;
}

}  // namespace tunekist
