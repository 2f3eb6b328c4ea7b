#pragma once
// The player on the session bus, as the desktop's media controls and media keys find a music
// player: the object /org/mpris/MediaPlayer2 with the interfaces org.mpris.MediaPlayer2 and
// org.mpris.MediaPlayer2.Player, under the name org.mpris.MediaPlayer2.tunekist.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "app/desktop_player.h"

namespace tunekist {

class MprisPlayerAdaptor;

class MprisService {
public:
    // Offers `player` on the session bus. A second copy of the program takes the name with
    // ".instance" and its process id added. Without a session bus nothing is offered and nothing
    // is said; the player works as before.
    explicit MprisService(DesktopPlayer& player);
    ~MprisService();
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    // Sends PropertiesChanged for every property that changed since the last call.
    void Publish();
    // Sends Seeked with the position now: the song jumped.
    void AnnounceSeek();

    // The state now, for the properties.
    DesktopStatus Status() { return player_.Status(); }
    double Position() const { return player_.Position(); }
    // Opens the file of OpenUri, as the window opens paths handed to it (raw file-system bytes).
    std::function<void(const std::string& path)> OpenPath;

    // Runs `command` on the player once the call that asked for it has been answered, so that a
    // message the window shows never holds the caller's reply.
    void Later(std::function<void(DesktopPlayer&)> command);

private:
    DesktopPlayer& player_;
    std::unique_ptr<QObject> object_;
    MprisPlayerAdaptor* playerAdaptor_ = nullptr;
    QString name_;
    std::optional<DesktopStatus> published_;
};

// The properties of org.mpris.MediaPlayer2.Player that follow from `status`.
QString PlaybackStatusName(DesktopPlayback playback);
QVariantMap MetadataOf(const DesktopStatus& status);
// The object path that names the head song in the metadata.
QString TrackIdOf(const DesktopStatus& status);

}  // namespace tunekist
