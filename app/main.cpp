// Tunekist: plays the MP3 songs of the folders a person picks, one after another from a playlist.
#include <QApplication>

#include "app/main_window.h"
#include "platform/engine/real_engine.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tunekist::MainWindow window(tunekist::MakeRealEngineFactory());
    window.show();
    return QApplication::exec();
}
