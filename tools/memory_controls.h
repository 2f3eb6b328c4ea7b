#pragma once
// Window controls that only hold their state in memory, so that the song list and the playlist
// can run without a window (the scan tool, the benchmarks). What they show is exactly what the
// window's controls would be given.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/desktop.h"
#include "platform/ui/dir_list.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"

namespace tunekist {

class MemoryLabel : public Label {
public:
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    void Refresh() override {}

private:
    std::string caption_;
};

// Rows as the song list and the playlist fill them; touching a missing row throws
// std::out_of_range as the window's list does.
class MemoryListView : public ListView {
public:
    void Clear() override;
    int AddRow(const std::string& text) override;
    void SetSubItem(int row, int subItem, const std::string& text) override;
    std::string RowText(int row) const override { return At(row).text; }
    std::string SubItem(int row, int subItem) const override;
    void SetRowTag(int row, const std::string& tag) override { At(row).tag = tag; }
    std::string RowTag(int row) const override { return At(row).tag; }
    void RemoveRow(int row) override;
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    std::optional<int> SelectedRow() const override { return selected_; }
    void Refresh() override {}
    void SelectRow(int row) override;

private:
    struct Row {
        std::string text;
        std::string subItems[2];
        std::string tag;
    };
    Row& At(int row);
    const Row& At(int row) const;
    std::vector<Row> rows_;
    std::optional<int> selected_;
};

class MemoryListBox : public ListBox {
public:
    void AddItem(const std::string& item) override { items_.push_back(item); }
    void RemoveItem(int index) override;
    int ListCount() const override { return static_cast<int>(items_.size()); }
    std::string List(int index) const override;
    void Refresh() override {}

private:
    std::vector<std::string> items_;
};

// Keeps every text it was asked to show, in order, instead of showing it.
class MemoryMessageBox : public MessageBox {
public:
    void Show(const std::string& text) override { shown_.push_back(text); }
    const std::vector<std::string>& Shown() const { return shown_; }

private:
    std::vector<std::string> shown_;
};

class MemoryDirList : public DirList {
public:
    std::string Path() const override { return path_; }
    // Takes any path; the file list finds out whether it can be read.
    void SetPath(const std::string& path) override { path_ = path; }

private:
    std::string path_;
};

class MemoryDriveList : public DriveList {
public:
    std::string Drive() const override { return "/"; }
    void SelectDriveOf(const std::string& /*path*/) override {}
};

// File lengths from the file system and the digit grouping of the user's locale, as the window
// has them; the pointer is not shown, and each yield calls `onYield` (when given) instead of
// running an event loop.
class MemoryDesktop : public Desktop {
public:
    explicit MemoryDesktop(std::function<void()> onYield = {}) : onYield_(std::move(onYield)) {}
    void SetMousePointer(int /*pointer*/) override {}
    void DoEvents() override {
        if (onYield_) onYield_();
    }
    std::int64_t FileLen(const std::string& path) const override;
    // The group separator of the default QLocale, which follows LC_ALL, LC_NUMERIC and LANG.
    std::string GroupSeparator() const override;

private:
    std::function<void()> onYield_;
};

}  // namespace tunekist
