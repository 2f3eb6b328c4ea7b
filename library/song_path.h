#pragma once
#include <string>

namespace tunekist {

// The full path of `fileName` in `folder`, joined with the platform's separator. A folder that
// already ends in one (the root) gets no second.
std::string JoinPath(const std::string& folder, const std::string& fileName);

}  // namespace tunekist
