// Tunekist: plays the MP3 songs of the folders a person picks, one after another from a playlist.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <string>
#include <vector>

#include "app/desktop_session.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "platform/engine/real_engine.h"
#include "platform/files/folder_paths.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt has taken its own options out: every argument left is a song or a folder to open, made
    // absolute here, where the working folder is the one it was named from.
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) paths.push_back(tunekist::NormalFolderPath(argv[i]));
    // A window already runs in this desktop session: it takes the paths and comes to the front.
    tunekist::SingleInstance instance;
    if (instance.HandOver(paths)) return 0;

    // The desktop matches the window to its launcher by this name, and shows the same icon.
    QGuiApplication::setDesktopFileName("nl.tunekist.Tunekist");
    tunekist::MainWindow window(tunekist::MakeRealEngineFactory());
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QString(":/tunekist/icons/tunekist-%1.png").arg(size));
    }
    window.setWindowIcon(icon);

    // The desktop's media controls and media keys reach the player through the session bus.
    tunekist::DesktopSession desktop(window, tunekist::MakeRealEngineFactory());
    instance.Receiver().Opened = [&](std::vector<std::string> handed) {
        desktop.player().Raise();
        window.OpenPaths(std::move(handed));
    };

    window.show();
    // Once the window shows, so that a folder being listed is seen being listed.
    if (!paths.empty()) QTimer::singleShot(0, &window, [&window, &paths] { window.OpenPaths(paths); });
    const int status = QApplication::exec();
    instance.Receiver().Opened = nullptr;
    return status;
}
