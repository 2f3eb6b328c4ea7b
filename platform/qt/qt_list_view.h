#pragma once
#include <QTreeWidget>

#include "platform/ui/list_view.h"

namespace tunekist {

// A report-view list of songs on a QTreeWidget with three columns, rows in insertion order.
class QtListView : public ListView {
public:
    explicit QtListView(QTreeWidget& tree) : tree_(tree) {}
    void Clear() override { tree_.clear(); }
    int AddRow(const std::string& text) override;
    void SetSubItem(int row, int subItem, const std::string& text) override;
    std::string RowText(int row) const override { return At(row)->text(0).toStdString(); }
    std::string SubItem(int row, int subItem) const override;
    void SetRowTag(int row, const std::string& tag) override;
    std::string RowTag(int row) const override;
    void RemoveRow(int row) override;
    int RowCount() const override { return tree_.topLevelItemCount(); }
    std::optional<int> SelectedRow() const override;
    void Refresh() override { tree_.viewport()->repaint(); }

private:
    QTreeWidgetItem* At(int row) const;
    QTreeWidget& tree_;
};

// Gives `tree` the song lists' three columns: "Naam Song" left, "Tijd" and "Omvang" right.
void SetUpSongColumns(QTreeWidget& tree);

}  // namespace tunekist
