#include "platform/qt/qt_list_box.h"

#include <QByteArray>
#include <QFile>
#include <stdexcept>

#include "platform/files/file_name_text.h"

namespace tunekist {
namespace {
constexpr int kBytesRole = Qt::UserRole;
}

void QtListBox::AddItem(const std::string& item) {
    auto* entry = new QListWidgetItem(QString::fromStdString(FileNameText(item)));
    entry->setData(kBytesRole, QByteArray::fromStdString(item));
    list_.addItem(entry);  // the list owns the item
}

void QtListBox::RemoveItem(int index) {
    if (index < 0 || index >= list_.count()) throw std::out_of_range("Invalid list index");
    delete list_.takeItem(index);  // takeItem hands ownership back
}

std::string QtListBox::List(int index) const {
    if (index < 0 || index >= list_.count()) throw std::out_of_range("Invalid list index");
    return list_.item(index)->data(kBytesRole).toByteArray().toStdString();
}

}  // namespace tunekist
