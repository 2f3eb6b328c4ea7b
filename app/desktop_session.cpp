#include "app/desktop_session.h"

#include <QApplication>

namespace tunekist {
namespace {

constexpr int kPlayButton = 0, kRewButton = 2, kForewButton = 3;

DesktopWindow WindowFor(MainWindow& window) {
    return DesktopWindow{[&window](const std::function<void()>& handler) { window.Handle(handler); },
                         [] { return QApplication::activeModalWidget() != nullptr; },
                         [&window] { return window.Closed(); },
                         [&window](std::int32_t value) { window.VolSlider->setValue(value); },
                         [&window] {
                             if (window.isMinimized()) window.showNormal();
                             window.raise();
                             window.activateWindow();
                         },
                         [&window] { return window.OpeningPaths(); }};
}

}  // namespace

DesktopSession::DesktopSession(MainWindow& window, EngineFactory measure)
    : window_(window), player_(window.program(), std::move(measure), WindowFor(window)), mpris_(player_) {
    window.AfterEvent = [this, before = std::move(window.AfterEvent)] {
        if (before) before();
        player_.RunWaitingCommands();
        mpris_.Publish();
    };
    window.BeforeMessage = [this, before = std::move(window.BeforeMessage)] {
        mpris_.Publish();
        if (before) before();
    };
    // A song the desktop opens by its address is queued as one handed to the program.
    mpris_.OpenPath = [this](const std::string& path) {
        player_.Raise();
        window_.OpenPaths({path});
    };
    // Rew and Forew make the song jump, and so does Play on a playing song, which starts it over;
    // the desktop hears of it as of its own seeks.
    for (const int index : {kPlayButton, kRewButton, kForewButton}) {
        auto click = window.Knop[index]->Events().Click;
        window.Knop[index]->Events().Click = [this, index, click] {
            const bool startsOver = index == kPlayButton && player_.IsPlaying();
            click();
            if (index != kPlayButton || startsOver) mpris_.AnnounceSeek();
        };
    }
}

DesktopSession::~DesktopSession() {
    mpris_.OpenPath = nullptr;
    window_.AfterEvent = nullptr;
    window_.BeforeMessage = nullptr;
}

}  // namespace tunekist
