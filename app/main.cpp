// Tunekist: plays the MP3 songs of the folders a person picks, one after another from a playlist.
#include <QApplication>
#include <QIcon>

#include "app/desktop_player.h"
#include "app/main_window.h"
#include "app/mpris_service.h"
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
    tunekist::DesktopPlayer desktopPlayer(
        window.program(), tunekist::MakeRealEngineFactory(),
        tunekist::DesktopWindow{[&window](const std::function<void()>& handler) { window.Handle(handler); },
                                [&window] { return window.Handling(); },
                                [&window](std::int32_t value) { window.VolSlider->setValue(value); },
                                [&window] {
                                    if (window.isMinimized()) window.showNormal();
                                    window.raise();
                                    window.activateWindow();
                                }});
    tunekist::MprisService mpris(desktopPlayer);
    window.AfterEvent = [&] {
        desktopPlayer.RunWaitingCommands();
        mpris.Publish();
    };
    window.BeforeMessage = [&] { mpris.Publish(); };
    // Rew and Forew make the song jump; the desktop hears of it as of its own seeks.
    for (const int index : {2, 3}) {
        auto click = window.Knop[index]->Events().Click;
        window.Knop[index]->Events().Click = [click, &mpris] {
            click();
            mpris.AnnounceSeek();
        };
    }

    window.show();
    const int status = QApplication::exec();
    window.AfterEvent = nullptr;
    window.BeforeMessage = nullptr;
    return status;
}
