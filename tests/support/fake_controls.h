#pragma once
// Plain, recording stand-ins for the window's controls, for tests of the program's procedures.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/desktop.h"
#include "platform/ui/dir_list.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/file_list.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/list_box.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_box.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/shape.h"
#include "platform/ui/slider.h"
#include "platform/ui/timer.h"

namespace tunekist::test {

class FakeLabel : public Label {
public:
    explicit FakeLabel(std::string caption = "") : caption(std::move(caption)) {}
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& text) override { caption = text; }
    void Refresh() override {}
    std::string caption;
};

class FakeListBox : public ListBox {
public:
    void AddItem(const std::string& item) override { items.push_back(item); }
    void RemoveItem(int index) override {
        CheckIndex(index);
        items.erase(items.begin() + index);
    }
    int ListCount() const override { return static_cast<int>(items.size()); }
    std::string List(int index) const override {
        CheckIndex(index);
        return items[index];
    }
    void Refresh() override {}
    std::vector<std::string> items;

private:
    void CheckIndex(int index) const {
        if (index < 0 || index >= ListCount()) throw std::out_of_range("Invalid list index");
    }
};

struct FakeRow {
    std::string text;
    std::array<std::string, 2> subItems;
    std::string tag;
    bool operator==(const FakeRow&) const = default;
};

// Shows a row readably in a failed expectation.
inline void PrintTo(const FakeRow& row, std::ostream* out) {
    *out << "{\"" << row.text << "\", \"" << row.subItems[0] << "\", \"" << row.subItems[1] << "\", tag \"" << row.tag
         << "\"}";
}

class FakeListView : public ListView {
public:
    void Clear() override { rows.clear(); selected.reset(); }
    int AddRow(const std::string& text) override {
        rows.push_back({text, {}, {}});
        return RowCount();
    }
    void SetSubItem(int row, int subItem, const std::string& text) override {
        if (subItem < 1 || subItem > 2) throw std::out_of_range("Invalid sub-item");
        At(row).subItems[subItem - 1] = text;
    }
    std::string RowText(int row) const override { return At(row).text; }
    std::string SubItem(int row, int subItem) const override {
        if (subItem < 1 || subItem > 2) throw std::out_of_range("Invalid sub-item");
        return At(row).subItems[subItem - 1];
    }
    void SetRowTag(int row, const std::string& tag) override { At(row).tag = tag; }
    std::string RowTag(int row) const override { return At(row).tag; }
    void RemoveRow(int row) override {
        At(row);
        rows.erase(rows.begin() + (row - 1));
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::optional<int> SelectedRow() const override { return selected; }
    void Refresh() override {}

    // Adds a song row as the song list shows it.
    void AddSong(const std::string& name, const std::string& time, const std::string& size, const std::string& file) {
        rows.push_back({name, {time, size}, file});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& row : rows) texts.push_back(row.text);
        return texts;
    }

    std::vector<FakeRow> rows;
    std::optional<int> selected;

private:
    const FakeRow& At(int row) const {
        if (row < 1 || row > RowCount()) throw std::out_of_range("Invalid row index");
        return rows[row - 1];
    }
    FakeRow& At(int row) { return const_cast<FakeRow&>(static_cast<const FakeListView*>(this)->At(row)); }
};

class FakeTimer : public Timer {
public:
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool value) override { enabled = value; }
    bool enabled = true;
};

// Keeps the boxes drawn since the last reset, in order.
class FakePictureBox : public PictureBox {
public:
    struct Box {
        int x1, y1, x2, y2;
        Color color;
        bool operator==(const Box&) const = default;
    };
    void ResetPicture() override { boxes.clear(); }
    void FillBox(int x1, int y1, int x2, int y2, Color color) override { boxes.push_back({x1, y1, x2, y2, color}); }
    void Refresh() override {}
    std::vector<Box> boxes;
};

class FakeSlider : public Slider {
public:
    std::int32_t Value() const override { return value; }
    void SetText(const std::string& value) override { text = value; }
    std::string Text() const override { return text; }
    std::int32_t value = 0;
    std::string text;
};

class FakeMessageBox : public MessageBox {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class FakeShape : public Shape {
public:
    void Move(float, float, float, float) override {}
    void SetBackColor(Color) override {}
    void SetBorderColor(Color) override {}
};

class FakeForm : public Form {
public:
    void SetBackColor(Color) override {}
    float ScreenWidthTwips() const override { return 1920 * 15; }
    float ScreenHeightTwips() const override { return 1080 * 15; }
    std::string AppPath() const override { return appPath; }
    void Unload() override { ++unloads; }
    std::string appPath = "/opt/tunekist";
    int unloads = 0;
};

class FakeFileList : public FileList {
public:
    // A folder listed in `folders` brings its names along; one in `unreadable` throws.
    void SetPath(const std::string& value) override {
        if (unreadable.count(value)) throw std::runtime_error("Map niet te lezen: " + value);
        path = value;
        if (const auto found = folders.find(value); found != folders.end()) names = found->second;
    }
    std::string Path() const override { return path; }
    void SetPattern(const std::string&) override {}
    int ListCount() const override { return static_cast<int>(names.size()); }
    std::string List(int index) const override { return names.at(index); }
    std::string path;
    std::vector<std::string> names;
    std::map<std::string, std::vector<std::string>> folders;
    std::set<std::string> unreadable;
};


class FakeDriveList : public DriveList {
public:
    std::string Drive() const override { return drive; }
    std::string drive = "/";
};

// Raises `Change` once for every change of its path, as the folder list does.
class FakeDirList : public DirList {
public:
    std::string Path() const override { return path; }
    void SetPath(const std::string& value) override {
        if (unreadable.count(value)) throw std::runtime_error("Map niet te lezen: " + value);
        if (value == path) return;
        path = value;
        if (Change) Change();
    }
    std::string path = "/";
    std::set<std::string> unreadable;
    std::function<void()> Change;
};

// Records pointer changes and yields; file lengths come from a table; DoEvents runs `onDoEvents`.
class FakeDesktop : public Desktop {
public:
    void SetMousePointer(int pointer) override { pointers.push_back(pointer); }
    void DoEvents() override {
        ++yields;
        if (onDoEvents) onDoEvents();
    }
    std::int64_t FileLen(const std::string& path) const override {
        const auto found = lengths.find(path);
        if (found == lengths.end()) throw std::runtime_error("File not found: " + path);
        return found->second;
    }
    std::string GroupSeparator() const override { return separator; }
    std::vector<int> pointers;
    int yields = 0;
    std::function<void()> onDoEvents;
    std::map<std::string, std::int64_t> lengths;
    std::string separator = ".";
};

}  // namespace tunekist::test
