#pragma once
#include <optional>
#include <string>

namespace tunekist {

// A report-view list of rows with a text and two sub-items, shown in insertion order.
// Rows count from 1. Touching a row that does not exist throws std::out_of_range.
class ListView {
public:
    virtual ~ListView() = default;
    virtual void Clear() = 0;
    // Appends a row with `text` and empty sub-items; returns its number.
    virtual int AddRow(const std::string& text) = 0;
    // Sets sub-item 1 or 2 of `row`.
    virtual void SetSubItem(int row, int subItem, const std::string& text) = 0;
    virtual std::string RowText(int row) const = 0;
    virtual std::string SubItem(int row, int subItem) const = 0;
    // A hidden value a row carries besides its texts; the song list keeps each song's own file
    // name (raw bytes) there.
    virtual void SetRowTag(int row, const std::string& tag) = 0;
    virtual std::string RowTag(int row) const = 0;
    virtual void RemoveRow(int row) = 0;
    virtual int RowCount() const = 0;
    // The selected row, if any.
    virtual std::optional<int> SelectedRow() const = 0;
    // Selects `row` and makes it the current one, as a click on it does.
    virtual void SelectRow(int row) = 0;
    virtual void Refresh() = 0;
};

}  // namespace tunekist
