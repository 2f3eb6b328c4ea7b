#pragma once
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "platform/ui/list_view.h"

namespace tunekist {

// A report-view list of songs on a QTreeWidget with three columns, rows in insertion order.
class QtListView : public ListView {
public:
    // How added rows reach the tree. In batches, rows added in quick succession reach it together,
    // kShowMilliseconds after the first of them or at the next Refresh: a folder listed a few
    // thousand songs a second then costs the tree one insertion, one layout and one repaint of
    // every visible row per batch instead of per song. Twenty batches a second keep a long listing
    // moving on the screen; a folder listed within that time shows its rows once, at the end.
    // Once the shown rows fill the list to its bottom edge, a batch changes nothing on the screen
    // but the scroll bar, yet costs as much: the batches then come kFullListShowMilliseconds apart.
    // Every call of this class sees the rows at once, whether the tree shows them yet or not; only
    // a shown row can be selected.
    enum class ShowRows { AtOnce, InBatches };
    static constexpr int kShowMilliseconds = 50;
    static constexpr int kFullListShowMilliseconds = 250;

    explicit QtListView(QTreeWidget& tree, ShowRows showRows = ShowRows::AtOnce);
    ~QtListView() override;
    QtListView(const QtListView&) = delete;
    QtListView& operator=(const QtListView&) = delete;

    void Clear() override;
    int AddRow(const std::string& text) override;
    void SetSubItem(int row, int subItem, const std::string& text) override;
    std::string RowText(int row) const override { return At(row)->text(0).toStdString(); }
    std::string SubItem(int row, int subItem) const override;
    void SetRowTag(int row, const std::string& tag) override;
    std::string RowTag(int row) const override;
    void RemoveRow(int row) override;
    int RowCount() const override;
    std::optional<int> SelectedRow() const override;
    // Shows every row added so far, then selects `row` and scrolls it into view.
    void SelectRow(int row) override;
    // Shows every row added so far and repaints the list at once, laid out as it will stay.
    void Refresh() override;

private:
    // Hands the rows that wait to the tree in one insertion.
    void ShowWaitingRows();
    // True when a shown row reaches the list's bottom edge, as scrolled now.
    bool ShownRowsFillTheList() const;
    QTreeWidgetItem* At(int row) const;

    QTreeWidget& tree_;
    const ShowRows showRows_;
    // Rows added but not yet in the tree, in order after its own; owned here until handed over.
    std::vector<std::unique_ptr<QTreeWidgetItem>> waiting_;
    QTimer showTimer_;
};

// Gives `tree` the song lists' three columns: "Naam Song" left, "Tijd" and "Omvang" right.
void SetUpSongColumns(QTreeWidget& tree);

}  // namespace tunekist
