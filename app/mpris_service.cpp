#include "app/mpris_service.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>
#include <cmath>

#include "app/file_uri.h"
#include "app/mpris_adaptors.h"

namespace tunekist {
namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.tunekist");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kTrackPrefix = QStringLiteral("/nl/tunekist/Tunekist/Track/");

bool CanControlSong(const DesktopStatus& status) { return status.playback != DesktopPlayback::Stopped; }

}  // namespace

QString PlaybackStatusName(DesktopPlayback playback) {
    switch (playback) {
        case DesktopPlayback::Playing: return QStringLiteral("Playing");
        case DesktopPlayback::Paused: return QStringLiteral("Paused");
        case DesktopPlayback::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

QString TrackIdOf(const DesktopStatus& status) {
    if (status.path.empty()) return QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    return kTrackPrefix + QString::number(status.track);
}

QVariantMap MetadataOf(const DesktopStatus& status) {
    QVariantMap metadata{{"mpris:trackid", QVariant::fromValue(QDBusObjectPath(TrackIdOf(status)))}};
    if (status.path.empty()) return metadata;
    metadata["xesam:title"] = QString::fromStdString(status.title);
    // The path's own bytes, percent-encoded, so that a name that is not UTF-8 still names its file.
    metadata["xesam:url"] =
        QString::fromLatin1("file://" + QByteArray::fromStdString(status.path).toPercentEncoding("/"));
    if (status.lengthMicroseconds) metadata["mpris:length"] = qint64{*status.lengthMicroseconds};
    return metadata;
}

MprisService::MprisService(DesktopPlayer& player) : player_(player) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    object_ = std::make_unique<QObject>();
    new MprisRootAdaptor(object_.get(), *this);
    playerAdaptor_ = new MprisPlayerAdaptor(object_.get(), *this);
    if (!bus.registerObject(kObjectPath, object_.get())) {
        object_.reset();
        return;
    }
    name_ = kServiceName;
    if (!bus.registerService(name_)) {
        name_ = kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name_)) name_.clear();
    }
    player_.Seeked = [this] { AnnounceSeek(); };
    published_ = player_.Status();
}

MprisService::~MprisService() {
    player_.Seeked = nullptr;
    if (!object_) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!name_.isEmpty()) bus.unregisterService(name_);
    bus.unregisterObject(kObjectPath);
}

void MprisService::Later(std::function<void(DesktopPlayer&)> command) {
    QMetaObject::invokeMethod(
        object_.get(), [this, command = std::move(command)] { command(player_); }, Qt::QueuedConnection);
}

void MprisService::Publish() {
    if (!object_) return;
    const DesktopStatus now = player_.Status();
    const DesktopStatus before = published_.value_or(DesktopStatus{});
    published_ = now;
    QVariantMap changed;
    if (now.playback != before.playback) {
        changed["PlaybackStatus"] = PlaybackStatusName(now.playback);
    }
    if (CanControlSong(now) != CanControlSong(before)) {
        changed["CanPause"] = CanControlSong(now);
        changed["CanSeek"] = CanControlSong(now);
    }
    if (now.path != before.path || now.title != before.title || now.track != before.track ||
        now.lengthMicroseconds != before.lengthMicroseconds) {
        changed["Metadata"] = MetadataOf(now);
    }
    if ((now.queued > 0) != (before.queued > 0)) {
        changed["CanPlay"] = now.queued > 0;
        changed["CanGoNext"] = now.queued > 0;
    }
    if (now.volume != before.volume) changed["Volume"] = now.volume;
    if (changed.isEmpty()) return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::AnnounceSeek() {
    if (playerAdaptor_) emit playerAdaptor_->Seeked(std::llround(player_.Position() * 1e6));
}

// The interfaces' calls, each run once its caller has its answer.

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {}

void MprisRootAdaptor::Raise() {
    service_.Later([](DesktopPlayer& player) { player.Raise(); });
}

void MprisRootAdaptor::Quit() {
    service_.Later([](DesktopPlayer& player) { player.Quit(); });
}

QStringList MprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/mpeg"),   QStringLiteral("audio/mp3"),   QStringLiteral("audio/x-mp3"),
            QStringLiteral("audio/x-mpeg"), QStringLiteral("audio/mpeg3"), QStringLiteral("audio/x-mpeg-3")};
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    const std::optional<std::string> path = LocalPathOf(QUrl(uri));
    if (!path) return;
    service_.Later([this, path = *path](DesktopPlayer&) {
        if (service_.OpenPath) service_.OpenPath(path);
    });
}

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const { return PlaybackStatusName(service_.Status().playback); }
QVariantMap MprisPlayerAdaptor::Metadata() const { return MetadataOf(service_.Status()); }
double MprisPlayerAdaptor::Volume() const { return service_.Status().volume; }
qlonglong MprisPlayerAdaptor::Position() const { return std::llround(service_.Position() * 1e6); }
bool MprisPlayerAdaptor::CanGoNext() const { return service_.Status().queued > 0; }
bool MprisPlayerAdaptor::CanPlay() const { return service_.Status().queued > 0; }
bool MprisPlayerAdaptor::CanPause() const { return CanControlSong(service_.Status()); }
bool MprisPlayerAdaptor::CanSeek() const { return CanControlSong(service_.Status()); }

void MprisPlayerAdaptor::SetVolume(double volume) {
    service_.Later([volume](DesktopPlayer& player) { player.SetVolume(volume); });
}

void MprisPlayerAdaptor::Next() {
    service_.Later([](DesktopPlayer& player) { player.Next(); });
}
void MprisPlayerAdaptor::Pause() {
    service_.Later([](DesktopPlayer& player) { player.Pause(); });
}
void MprisPlayerAdaptor::PlayPause() {
    service_.Later([](DesktopPlayer& player) { player.PlayPause(); });
}
void MprisPlayerAdaptor::Stop() {
    service_.Later([](DesktopPlayer& player) { player.Stop(); });
}
void MprisPlayerAdaptor::Play() {
    service_.Later([](DesktopPlayer& player) { player.Play(); });
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    service_.Later([offset](DesktopPlayer& player) { player.SeekBy(static_cast<double>(offset) / 1e6); });
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    // The song is checked when the command runs: one that has left the head by then is not moved.
    const QString path = trackId.path();
    if (!path.startsWith(kTrackPrefix)) return;
    bool isNumber = false;
    const qulonglong track = path.mid(kTrackPrefix.size()).toULongLong(&isNumber);
    if (!isNumber) return;
    service_.Later(
        [track, position](DesktopPlayer& player) { player.SetPosition(track, static_cast<double>(position) / 1e6); });
}

}  // namespace tunekist
