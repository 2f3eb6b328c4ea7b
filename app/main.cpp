// Tunekist: plays the MP3 songs of the folders a person picks, one after another from a playlist.
#include <QApplication>
#include <QIcon>

#include "app/desktop_session.h"
#include "app/main_window.h"
#include "platform/engine/real_engine.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The desktop matches the window to its launcher by this name, and shows the same icon.
    QGuiApplication::setDesktopFileName("nl.tunekist.Tunekist");
    tunekist::MainWindow window(tunekist::MakeRealEngineFactory());
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QString(":/tunekist/icons/tunekist-%1.png").arg(size));
    }
    window.setWindowIcon(icon);

    // The desktop's media controls and media keys reach the player through the session bus.
    const tunekist::DesktopSession desktop(window, tunekist::MakeRealEngineFactory());

    window.show();
    return QApplication::exec();
}
