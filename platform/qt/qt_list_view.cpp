#include "platform/qt/qt_list_view.h"

#include <QCoreApplication>
#include <QEvent>
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

QtListView::QtListView(QTreeWidget& tree, ShowRows showRows) : tree_(tree), showRows_(showRows) {
    showTimer_.setSingleShot(true);
    QObject::connect(&showTimer_, &QTimer::timeout, &tree_, [this] { ShowWaitingRows(); });
}

QtListView::~QtListView() = default;

void QtListView::Clear() {
    waiting_.clear();
    tree_.clear();
}

void QtListView::ShowWaitingRows() {
    showTimer_.stop();
    if (waiting_.empty()) return;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(waiting_.size()));
    for (const auto& item : waiting_) items.append(item.get());
    tree_.addTopLevelItems(items);  // the tree owns them from here on
    for (auto& item : waiting_) item.release();
    waiting_.clear();
}

bool QtListView::ShownRowsFillTheList() const {
    return tree_.itemAt(QPoint(0, tree_.viewport()->height() - 1)) != nullptr;
}

QTreeWidgetItem* QtListView::At(int row) const {
    const int shown = tree_.topLevelItemCount();
    if (row < 1 || row > shown + static_cast<int>(waiting_.size())) throw std::out_of_range("Invalid row index");
    return row <= shown ? tree_.topLevelItem(row - 1) : waiting_[static_cast<std::size_t>(row - shown - 1)].get();
}

int QtListView::RowCount() const { return tree_.topLevelItemCount() + static_cast<int>(waiting_.size()); }

int QtListView::AddRow(const std::string& text) {
    auto item = std::make_unique<QTreeWidgetItem>();
    item->setText(0, QString::fromStdString(text));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    waiting_.push_back(std::move(item));
    if (showRows_ == ShowRows::AtOnce) {
        ShowWaitingRows();
    } else if (!showTimer_.isActive()) {
        showTimer_.start(ShownRowsFillTheList() ? kFullListShowMilliseconds : kShowMilliseconds);
    }
    return RowCount();
}

void QtListView::Refresh() {
    ShowWaitingRows();
    // The tree lays out new rows a moment later, and the scroll bar that many rows bring then
    // narrows the list and has every visible row painted again. Laid out now, scroll bar included,
    // the rows are painted once.
    tree_.doItemsLayout();
    QCoreApplication::sendPostedEvents(&tree_, QEvent::MetaCall);
    tree_.viewport()->repaint();
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
    const int shown = tree_.topLevelItemCount();
    if (row > shown) {
        waiting_.erase(waiting_.begin() + (row - shown - 1));
        return;
    }
    delete tree_.takeTopLevelItem(row - 1);  // takeTopLevelItem hands ownership back
}

void QtListView::SelectRow(int row) {
    // Only a row in the tree can be selected.
    ShowWaitingRows();
    QTreeWidgetItem* item = At(row);
    tree_.setCurrentItem(item);
    item->setSelected(true);
    tree_.scrollToItem(item);
}

std::optional<int> QtListView::SelectedRow() const {
    auto* current = tree_.currentItem();
    if (!current || !current->isSelected()) return std::nullopt;
    return tree_.indexOfTopLevelItem(current) + 1;
}

}  // namespace tunekist
