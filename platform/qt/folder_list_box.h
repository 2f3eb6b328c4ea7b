#pragma once
#include <QListWidget>
#include <functional>
#include <string>

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

private:
    // Shows `path` and returns whether that changed the path.
    bool Show(const std::string& path);
    void Open(QListWidgetItem* item);

    std::string path_;
};

}  // namespace tunekist
