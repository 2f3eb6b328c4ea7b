#include "platform/qt/qt_list_view.h"

#include <QHeaderView>
#include <stdexcept>

namespace tunekist {
namespace {
constexpr int kTagRole = Qt::UserRole;

int SubItemColumn(int subItem) {
    if (subItem < 1 || subItem > 2) throw std::out_of_range("Invalid sub-item");
    return subItem;
}
}  // namespace

void SetUpSongColumns(QTreeWidget& tree) {
    tree.setColumnCount(3);
    tree.setHeaderLabels({"Naam Song", "Tijd", "Omvang"});
    tree.headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    tree.headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    // Each column keeps the width the layout gives it; the last one does not swallow the rest.
    tree.header()->setStretchLastSection(false);
    tree.setRootIsDecorated(false);
    tree.setSortingEnabled(false);
    tree.setUniformRowHeights(true);
    tree.setSelectionMode(QAbstractItemView::SingleSelection);
    tree.setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QTreeWidgetItem* QtListView::At(int row) const {
    if (row < 1 || row > tree_.topLevelItemCount()) throw std::out_of_range("Invalid row index");
    return tree_.topLevelItem(row - 1);
}

int QtListView::AddRow(const std::string& text) {
    auto* item = new QTreeWidgetItem(&tree_);  // the tree owns the item
    item->setText(0, QString::fromStdString(text));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    return tree_.topLevelItemCount();
}

void QtListView::SetSubItem(int row, int subItem, const std::string& text) {
    At(row)->setText(SubItemColumn(subItem), QString::fromStdString(text));
}

std::string QtListView::SubItem(int row, int subItem) const {
    return At(row)->text(SubItemColumn(subItem)).toStdString();
}

void QtListView::SetRowTag(int row, const std::string& tag) {
    At(row)->setData(0, kTagRole, QByteArray::fromStdString(tag));
}

std::string QtListView::RowTag(int row) const { return At(row)->data(0, kTagRole).toByteArray().toStdString(); }

void QtListView::RemoveRow(int row) {
    At(row);
    delete tree_.takeTopLevelItem(row - 1);  // takeTopLevelItem hands ownership back
}

std::optional<int> QtListView::SelectedRow() const {
    auto* current = tree_.currentItem();
    if (!current || !current->isSelected()) return std::nullopt;
    return tree_.indexOfTopLevelItem(current) + 1;
}

}  // namespace tunekist
