#include "platform/qt/qt_desktop.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocale>

#include "platform/files/folder_paths.h"

namespace tunekist {

QtDesktop::~QtDesktop() {
    if (hourglass_) QGuiApplication::restoreOverrideCursor();
}

void QtDesktop::SetMousePointer(int pointer) {
    const bool wantHourglass = pointer == kHourglass;
    if (wantHourglass == hourglass_) return;
    if (wantHourglass) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
    hourglass_ = wantHourglass;
}

void QtDesktop::PrepareHourglass() {
    // Set and taken back in one go: the window system gets both changes together, and the
    // cursor it made stays with it for the next time.
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QGuiApplication::restoreOverrideCursor();
}

void QtDesktop::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, kYieldMilliseconds); }

std::int64_t QtDesktop::FileLen(const std::string& path) const { return FileLength(path); }

std::string QtDesktop::GroupSeparator() const { return QLocale().groupSeparator().toStdString(); }

}  // namespace tunekist
