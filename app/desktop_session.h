#pragma once
// The window joined to the desktop: its player offered on the session bus, its commands run as
// the window's clicks, and every change the window makes announced to the desktop.
#include <memory>

#include "app/desktop_player.h"
#include "app/main_window.h"
#include "app/mpris_service.h"

namespace tunekist {

class DesktopSession {
public:
    // Wires `window` to the session bus; `measure` makes the engines that measure the head song.
    // The window's AfterEvent and BeforeMessage keep what they did and announce changes after it.
    // Without a session bus the window works as before. `window` must outlive this object.
    DesktopSession(MainWindow& window, EngineFactory measure);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    DesktopPlayer& player() { return player_; }

private:
    MainWindow& window_;
    DesktopPlayer player_;
    MprisService mpris_;
};

}  // namespace tunekist
