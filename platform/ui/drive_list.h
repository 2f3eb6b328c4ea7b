#pragma once
#include <string>

namespace tunekist {

// The list of drives: the places a person browses from (the file system's root, the home folder,
// mounted volumes). Raises its change event when the user picks another drive.
class DriveList {
public:
    virtual ~DriveList() = default;
    // The folder at which the chosen drive starts (raw file-system bytes).
    virtual std::string Drive() const = 0;
    // Chooses the drive that holds `path` (the one whose folder is the longest start of it),
    // without raising the change event.
    virtual void SelectDriveOf(const std::string& path) = 0;
};

}  // namespace tunekist
