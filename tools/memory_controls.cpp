#include "tools/memory_controls.h"

#include <sys/stat.h>

#include <QLocale>
#include <stdexcept>

namespace tunekist {

void MemoryListView::Clear() {
    rows_.clear();
    selected_.reset();
}

int MemoryListView::AddRow(const std::string& text) {
    rows_.push_back(Row{text, {}, {}});
    return RowCount();
}

void MemoryListView::SetSubItem(int row, int subItem, const std::string& text) {
    if (subItem < 1 || subItem > 2) throw std::out_of_range("Invalid sub-item");
    At(row).subItems[subItem - 1] = text;
}

std::string MemoryListView::SubItem(int row, int subItem) const {
    if (subItem < 1 || subItem > 2) throw std::out_of_range("Invalid sub-item");
    return At(row).subItems[subItem - 1];
}

void MemoryListView::RemoveRow(int row) {
    At(row);
    rows_.erase(rows_.begin() + (row - 1));
    selected_.reset();
}

void MemoryListView::SelectRow(int row) {
    At(row);
    selected_ = row;
}

MemoryListView::Row& MemoryListView::At(int row) {
    if (row < 1 || row > RowCount()) throw std::out_of_range("Invalid row");
    return rows_[static_cast<std::size_t>(row - 1)];
}

const MemoryListView::Row& MemoryListView::At(int row) const {
    if (row < 1 || row > RowCount()) throw std::out_of_range("Invalid row");
    return rows_[static_cast<std::size_t>(row - 1)];
}

void MemoryListBox::RemoveItem(int index) {
    List(index);
    items_.erase(items_.begin() + index);
}

std::string MemoryListBox::List(int index) const {
    if (index < 0 || index >= ListCount()) throw std::out_of_range("Invalid list index");
    return items_[static_cast<std::size_t>(index)];
}

std::int64_t MemoryDesktop::FileLen(const std::string& path) const {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw std::runtime_error("cannot read the length of " + path);
    return static_cast<std::int64_t>(info.st_size);
}

std::string MemoryDesktop::GroupSeparator() const { return QLocale().groupSeparator().toStdString(); }

}  // namespace tunekist
