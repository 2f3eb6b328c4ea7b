// Tunekist: plays the MP3 songs of the folders a person picks, one after another from a playlist.
#include <QApplication>
#include <QIcon>

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
    window.show();
    return QApplication::exec();
}
