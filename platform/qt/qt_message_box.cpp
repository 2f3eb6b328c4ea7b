#include "platform/qt/qt_message_box.h"

#include <QMessageBox>

namespace tunekist {

void QtMessageBox::Show(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kProgramTitle, QString::fromStdString(text), QMessageBox::Ok, &parent_);
    box.setObjectName("MessageBox");
    if (Opening) Opening();
    box.exec();
}

}  // namespace tunekist
