#pragma once
#include <QListWidget>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/files/folder_paths.h"
#include "platform/ui/dir_list.h"

namespace tunekist {

// The folder list `Dir1`: the current folder's parent chain from the root down, the current folder
// itself (selected), and its subfolders, indented like a tree. Opening a folder (double-click or
// Enter) makes it the current folder. Raises Change exactly once for every change of the path; a
// folder that cannot be read is not opened and raises nothing.
class FolderListBox : public QListWidget, public DirList {
public:
    explicit FolderListBox(QWidget* parent = nullptr);

    std::string Path() const override { return path_; }
    void SetPath(const std::string& path) override;
    // Shows `path` as the current folder without raising Change, for the window's start.
    // Throws as SetPath does.
    void ShowPath(const std::string& path);

    std::function<void()> Change;
    // While Change is raised: the reading of the folder just opened, once, for whoever lists it.
    std::optional<FolderReading> TakeReading() { return std::exchange(reading_, std::nullopt); }

private:
    // Shows `path` and returns whether that changed the path.
    bool Show(const std::string& path);
    void Open(QListWidgetItem* item);
    // Raises Change, offering the reading Show made for as long as it runs.
    void RaiseChange();

    std::string path_;
    std::optional<FolderReading> reading_;
};

}  // namespace tunekist
