#include "platform/qt/folder_list_box.h"

#include <QApplication>
#include <QFile>
#include <QScopeGuard>
#include <QStyle>
#include <stdexcept>

#include "platform/files/file_name_text.h"
#include "platform/files/folder_paths.h"

namespace tunekist {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentPerLevel = 2;

QListWidgetItem* MakeItem(const std::string& path, const std::string& name, int level, const QIcon& icon) {
    // Folder names are read as song names are; the item keeps the exact bytes to open.
    auto* item =
        new QListWidgetItem(icon, QString(level * kIndentPerLevel, ' ') + QString::fromStdString(FileNameText(name)));
    item->setData(kPathRole, QByteArray::fromStdString(path));
    return item;
}

}  // namespace

FolderListBox::FolderListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { Open(item); });
}

void FolderListBox::SetPath(const std::string& path) {
    if (Show(path)) RaiseChange();
}

void FolderListBox::ShowPath(const std::string& path) {
    Show(path);
    reading_.reset();
}

void FolderListBox::RaiseChange() {
    // Offered only while Change runs: a listing started later reads the folder anew.
    const auto forget = qScopeGuard([this] { reading_.reset(); });
    if (Change) Change();
}

bool FolderListBox::Show(const std::string& path) {
    const std::string folder = NormalFolderPath(path);
    // Read first: a folder that cannot be read leaves the list as it was.
    FolderReading reading = ReadFolder(folder, AnyName);
    const std::vector<std::string> subfolders = Subfolders(reading);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    const std::vector<std::string> chain = FolderChain(folder);
    for (std::size_t level = 0; level < chain.size(); ++level) {
        addItem(MakeItem(chain[level], LastName(chain[level]), static_cast<int>(level), openIcon));
    }
    QListWidgetItem* current = item(count() - 1);
    const int subLevel = static_cast<int>(chain.size());
    for (const std::string& name : subfolders) {
        addItem(MakeItem(folder == "/" ? "/" + name : folder + "/" + name, name, subLevel, closedIcon));
    }
    setCurrentItem(current);
    scrollToItem(current);
    const bool changed = folder != path_;
    path_ = folder;
    if (changed) reading_ = std::move(reading);
    return changed;
}

void FolderListBox::Open(QListWidgetItem* item) {
    if (!item) return;
    bool changed = false;
    try {
        changed = Show(item->data(kPathRole).toByteArray().toStdString());
    } catch (const std::runtime_error&) {
        // A folder that cannot be read is not opened; the list stays where it was.
        QApplication::beep();
        return;
    }
    if (changed) RaiseChange();
}

}  // namespace tunekist
