#pragma once
#include <QComboBox>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/drive_list.h"

namespace tunekist {

// A place to browse from: where it starts (raw file-system bytes) and the name shown for it.
struct DriveEntry {
    std::string path;
    QString name;
};

// The places a person browses from: the file system's root, the home folder, and the mounted
// volumes a person keeps files on (removable media, other disks), leaving out the system's own
// mounts. Each is named so that a person recognises it, with its folder in brackets.
std::vector<DriveEntry> ListDrives();

// The drive list `Drive1`: a drop-down of ListDrives(). Raises Change once when the user picks
// another drive. The list is read again whenever it drops down, so a volume mounted since shows.
class DriveListBox : public QComboBox, public DriveList {
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    std::string Drive() const override;
    // Chooses the drive that holds `path` (the one with the longest matching folder), without
    // raising Change.
    void SelectDriveOf(const std::string& path) override;
    // Reads the drives again, keeping the chosen one when it is still there; raises nothing.
    void Reload();

    std::function<void()> Change;

protected:
    void showPopup() override;

private:
    void Fill(const std::vector<DriveEntry>& drives, const std::string& keep);
    bool filling_ = false;
};

}  // namespace tunekist
