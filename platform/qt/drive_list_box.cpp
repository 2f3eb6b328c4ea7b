#include "platform/qt/drive_list_box.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QStringList>

namespace tunekist {
namespace {

constexpr int kPathRole = Qt::UserRole;

// File systems that hold no files of a person's own.
bool IsSystemFileSystem(const QByteArray& type) {
    static const QList<QByteArray> kSystemTypes = {
        "proc",    "sysfs",    "tmpfs",      "devtmpfs",    "devpts",         "cgroup",      "cgroup2",
        "overlay", "squashfs", "autofs",     "mqueue",      "debugfs",        "tracefs",     "securityfs",
        "pstore",  "bpf",      "configfs",   "fusectl",     "hugetlbfs",      "binfmt_misc", "efivarfs",
        "nsfs",    "ramfs",    "rpc_pipefs", "fuse.portal", "fuse.gvfsd-fuse"};
    return kSystemTypes.contains(type);
}

// Mount points of the system itself; /run/media is where removable media appear.
bool IsSystemFolder(const QString& root) {
    if (root.startsWith("/run/media/")) return false;
    static const QStringList kSystemFolders = {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var",
                                               "/tmp",  "/etc", "/usr", "/opt", "/lib",  "/bin",  "/sbin"};
    for (const QString& folder : kSystemFolders) {
        if (root == folder || root.startsWith(folder + "/")) return true;
    }
    return false;
}

}  // namespace

std::vector<DriveEntry> ListDrives() {
    const QString home = QDir::homePath();
    std::vector<DriveEntry> drives = {{"/", "Bestandssysteem (/)"},
                                      {QFile::encodeName(home).toStdString(), "Persoonlijke map (" + home + ")"}};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (root == "/" || root == home || IsSystemFileSystem(volume.fileSystemType()) || IsSystemFolder(root)) {
            continue;
        }
        if (!QFileInfo(root).isDir()) continue;
        const QString label = volume.displayName() == root ? QDir(root).dirName() : volume.displayName();
        drives.push_back({QFile::encodeName(root).toStdString(), label + " (" + root + ")"});
    }
    return drives;
}

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    Fill(ListDrives(), "/");
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && Change) Change();
    });
}

std::string DriveListBox::Drive() const { return currentData(kPathRole).toByteArray().toStdString(); }

void DriveListBox::SelectDriveOf(const std::string& path) {
    int best = -1;
    std::size_t bestLength = 0;
    for (int index = 0; index < count(); ++index) {
        const std::string drive = itemData(index, kPathRole).toByteArray().toStdString();
        const bool holds = drive == "/" || path == drive || path.rfind(drive + "/", 0) == 0;
        if (holds && (best < 0 || drive.size() > bestLength)) best = index, bestLength = drive.size();
    }
    filling_ = true;
    setCurrentIndex(best);
    filling_ = false;
}

void DriveListBox::Reload() { Fill(ListDrives(), Drive()); }

void DriveListBox::showPopup() {
    Reload();
    // The drop-down is a window of its own and takes no colours from the box: it is given the
    // box's, so that open and closed look alike.
    view()->setPalette(palette());
    if (view()->parentWidget()) view()->parentWidget()->setPalette(palette());
    QComboBox::showPopup();
}

void DriveListBox::Fill(const std::vector<DriveEntry>& drives, const std::string& keep) {
    filling_ = true;
    clear();
    int chosen = 0;
    for (const DriveEntry& drive : drives) {
        if (drive.path == keep) chosen = count();
        addItem(drive.name, QByteArray::fromStdString(drive.path));
    }
    setCurrentIndex(chosen);
    filling_ = false;
}

}  // namespace tunekist
