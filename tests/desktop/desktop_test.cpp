// The desktop's media controls in the same process: a second connection to a session bus of the
// test's own (dbus-run-session) calls the player's methods and properties and hears its signals,
// while the real window plays real songs.
#include <QApplication>
#include <QTest>
#include <QtDBus>
#include <filesystem>
#include <functional>

#include "app/desktop_session.h"
#include "platform/engine/real_engine.h"
#include "platform/engine/shared_audio_output.h"
#include "tests/support/player_window.h"
#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.tunekist");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The desktop's side: calls, property reads and the signals heard.
class DesktopClient : public QObject {
    Q_OBJECT
public:
    explicit DesktopClient(std::function<bool()> listing) : listing_(std::move(listing)) {
        bus_.connect({}, kPath, kProperties, "PropertiesChanged", this,
                     SLOT(OnChanged(QString, QVariantMap, QStringList)));
        bus_.connect({}, kPath, kPlayer, "Seeked", this, SLOT(OnSeeked(qlonglong)));
    }
    ~DesktopClient() override { QDBusConnection::disconnectFromBus(bus_.name()); }

    QDBusPendingCall Send(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        call.setArguments(arguments);
        return bus_.asyncCall(call);
    }
    // Calls, and returns once the call was answered and the command it asked for has run.
    QVariant Call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusPendingCall pending = Send(interface, method, arguments);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 20000)) << method.toStdString();
        QCoreApplication::sendPostedEvents();
        const QList<QVariant> reply = pending.reply().arguments();
        return reply.isEmpty() ? QVariant() : reply.front();
    }
    QVariant Get(const QString& property) {
        return Call(kProperties, "Get", {kPlayer, property}).value<QDBusVariant>().variant();
    }

    struct Change {
        QVariantMap properties;
        bool duringListing;
    };
    std::vector<Change> changes;
    std::vector<qlonglong> seeks;

private slots:
    void OnChanged(const QString&, const QVariantMap& properties, const QStringList&) {
        changes.push_back({properties, listing_()});
    }
    void OnSeeked(qlonglong position) { seeks.push_back(position); }

private:
    QDBusConnection bus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "desktop-test");
    std::function<bool()> listing_;
};

QVariantMap MapOf(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>()) return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}
QString TitleIn(const QVariant& metadata) { return MapOf(metadata).value("xesam:title").toString(); }

class DesktopTest : public QuietWindowTest {
protected:
    DesktopTest() {
        session.emplace(*window, MakeRealEngineFactory());
        client.emplace([this] { return listing; });
    }

    // Queues songs of six seconds each, by default A, B and C.
    void QueueSongs(std::initializer_list<const char*> names = {"A", "B", "C"}) {
        for (const char* name : names) Queue(name, CachedTone(6.0, 440));
        client->Get("PlaybackStatus");  // with its answer, every announcement before it has come
        client->changes.clear();
    }
    QVariant Command(const QString& method, const QVariantList& arguments = {}) {
        return client->Call(kPlayer, method, arguments);
    }
    std::string Status() { return client->Get("PlaybackStatus").toString().toStdString(); }

    std::optional<DesktopSession> session;
    std::optional<DesktopClient> client;
    bool listing = false;
};

// The volume goes to the slider's nearest step of 5 %, kept within 0 ... 1, and only a change is
// announced, with its new value. Each command acts on the state the one before it left, as the
// window's buttons would; Play and Pause leave a song that already plays or is paused as it is.
// Seek keeps the song within its length; SetPosition moves only the current song, and only to a
// place inside it. Every jump is announced with Seeked in microseconds, and nothing else is.
TEST_F(DesktopTest, CommandsActAsTheWindowsControlsAndAnnounceEveryJump) {
    for (const auto& [asked, step, reads, announced] : {std::tuple{0.5, 10, 0.5, true},
                                                        {0.52, 10, 0.5, false},
                                                        {0.53, 9, 0.55, true},
                                                        {0.026, 19, 0.05, true},
                                                        {1.7, 0, 1.0, true},
                                                        {-0.3, 20, 0.0, true}}) {
        client->changes.clear();
        client->Call(kProperties, "Set", {kPlayer, "Volume", QVariant::fromValue(QDBusVariant(asked))});
        EXPECT_EQ(window->VolSlider->value(), step) << asked;
        EXPECT_EQ(client->Get("Volume").toDouble(), reads) << asked;
        const QVariantMap expected = announced ? QVariantMap{{"Volume", reads}} : QVariantMap();
        const QVariantMap heard = client->changes.empty() ? QVariantMap() : client->changes.back().properties;
        EXPECT_EQ(heard, expected) << asked;
    }
    QueueSongs();
    struct Step {
        const char* method;
        const char* status;
        const char* head;
        bool newEngine;
    };
    const Step steps[] = {
        {.method = "PlayPause", .status = "Playing", .head = "A", .newEngine = true},
        {.method = "Play", .status = "Playing", .head = "A", .newEngine = false},
        {.method = "PlayPause", .status = "Paused", .head = "A", .newEngine = false},
        {.method = "Pause", .status = "Paused", .head = "A", .newEngine = false},
        {.method = "Play", .status = "Playing", .head = "A", .newEngine = false},
        {.method = "Pause", .status = "Paused", .head = "A", .newEngine = false},
        {.method = "PlayPause", .status = "Playing", .head = "A", .newEngine = false},
        {.method = "Stop", .status = "Stopped", .head = "A", .newEngine = false},
        {.method = "Pause", .status = "Stopped", .head = "A", .newEngine = false},
        {.method = "Play", .status = "Playing", .head = "A", .newEngine = true},
        {.method = "Next", .status = "Playing", .head = "B", .newEngine = true},
    };
    for (const Step& row : steps) {
        const MediaEngine* before = program().state.Graph.get();
        Command(row.method);
        const bool stopped = row.status == std::string("Stopped");
        EXPECT_EQ(Status(), row.status) << row.method;
        EXPECT_EQ(TitleIn(client->Get("Metadata")), row.head) << row.method;
        EXPECT_EQ(Text(window->Label3), row.head) << row.method;
        EXPECT_EQ(client->Get("CanPause").toBool(), !stopped) << row.method;
        EXPECT_EQ(client->Get("CanSeek").toBool(), !stopped) << row.method;
        EXPECT_TRUE(stopped || (program().state.Graph.get() != before) == row.newEngine) << row.method;
    }
    EXPECT_TRUE(messages.empty());
    Command("Pause");
    const QString track = MapOf(client->Get("Metadata"))["mpris:trackid"].value<QDBusObjectPath>().path();
    ASSERT_TRUE(track.startsWith("/nl/tunekist/Tunekist/Track/"));
    const auto setPosition = [&](const QString& id, qlonglong microseconds) {
        Command("SetPosition", {QVariant::fromValue(QDBusObjectPath(id)), QVariant::fromValue(microseconds)});
    };
    const auto seek = [&](qlonglong microseconds) { Command("Seek", {QVariant::fromValue(microseconds)}); };
    struct Jump {
        const char* name;
        std::function<void()> act;
        qlonglong position;  // where the song is after it, in microseconds; -1: near the start
        bool seeked;
    };
    const Jump jumps[] = {
        {"Rew to the start", [&] { Press(kRew); }, 0, true},
        {"SetPosition", [&] { setPosition(track, 2'000'000); }, 2'000'000, true},
        {"Seek forward", [&] { seek(1'500'000); }, 3'500'000, true},
        {"SetPosition below 0", [&] { setPosition(track, -1); }, 3'500'000, false},
        {"SetPosition past the end", [&] { setPosition(track, 6'000'001); }, 3'500'000, false},
        {"SetPosition of another song", [&] { setPosition(track + "1", 1'000'000); }, 3'500'000, false},
        {"Seek back past the start", [&] { seek(-9'000'000); }, 0, true},
        {"SetPosition at the end", [&] { setPosition(track, 6'000'000); }, 6'000'000, true},
        {"Forew within the song", [&] { Press(kRew), client->seeks.clear(), Press(kForew); }, 6'000'000, true},
        {"Seek past the end", [&] { Press(kRew), client->seeks.clear(), seek(60'000'000); }, 6'000'000, true},
        {"Play starting the song over", [&] { Press(kPlay), Press(kPlay); }, -1, true},
    };
    for (const Jump& row : jumps) {
        client->seeks.clear();
        row.act();
        QCoreApplication::processEvents();
        const qlonglong position = client->Get("Position").toLongLong();
        EXPECT_TRUE(row.position < 0 || position == row.position) << row.name << ": " << position;
        if (!row.seeked) {
            EXPECT_TRUE(client->seeks.empty()) << row.name;  // an announcement comes before the reply
            continue;
        }
        // Starting over lands near the start; the song has played on a little since.
        const auto heard = [&] {
            return !client->seeks.empty() &&
                   (row.position >= 0 ? client->seeks.back() == row.position : client->seeks.back() < 1'000'000);
        };
        ASSERT_TRUE(QTest::qWaitFor(heard, 20000)) << row.name;
    }
}

// Commands that come while a folder is being listed run inside the listing's yield, as clicks do,
// one after the other in the order they came. PropertiesChanged names exactly what changed, with
// the new values; Next on the last song empties the playlist. A command waits while a message box
// is open, as a click cannot reach the window then, and runs once it is closed. After Exit nothing
// runs.
TEST_F(DesktopTest, CommandsWaitOutAListingOrAMessageAndAnnounceWhatChanged) {
    QueueSongs({"A", "B"});
    const std::string folder = scratch / "many";
    std::filesystem::create_directories(folder);
    const std::string song = CachedTone(1.0, 440);
    for (int i = 0; i < 1000; ++i) std::filesystem::create_symlink(song, folder + "/" + std::to_string(i) + ".mp3");
    for (const char* command : {"Play", "Next", "Pause"}) client->Send(kPlayer, command);
    listing = true;
    ListFolder(folder);
    listing = false;
    ASSERT_EQ(ListedFiles().size(), 1000u) << "the listing ran to its end";
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->changes.size() >= 3; }, 20000));
    ASSERT_EQ(client->changes.size(), 3u);
    for (const auto& change : client->changes) EXPECT_TRUE(change.duringListing);
    EXPECT_EQ(client->changes[0].properties,
              (QVariantMap{{"PlaybackStatus", "Playing"}, {"CanPause", true}, {"CanSeek", true}}));
    EXPECT_EQ(client->changes[1].properties.keys(), QStringList{"Metadata"});
    EXPECT_EQ(TitleIn(client->changes[1].properties["Metadata"]), "B");
    EXPECT_EQ(client->changes[2].properties, (QVariantMap{{"PlaybackStatus", "Paused"}}));
    EXPECT_EQ(Text(window->Label3), "B");

    Command("Next");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->changes.size() >= 4; }, 20000));
    const QVariantMap emptied = client->changes.back().properties;
    EXPECT_EQ(emptied.keys(),
              (QStringList{"CanGoNext", "CanPause", "CanPlay", "CanSeek", "Metadata", "PlaybackStatus"}));
    for (const char* can : {"CanGoNext", "CanPause", "CanPlay", "CanSeek"}) EXPECT_EQ(emptied[can], false) << can;
    EXPECT_EQ(emptied["PlaybackStatus"], "Stopped");
    EXPECT_EQ(messages, Strings{kFillPlaylist});

    QueueSongs();
    Press(kPlay);
    std::string statusUnderTheMessage;
    duringMessage = [&](QMessageBox&) {
        client->Send(kPlayer, "Pause");
        EXPECT_TRUE(QTest::qWaitFor([&] { return session->player().Waiting() == 1; }, 20000));
        statusUnderTheMessage = PlaybackStatusName(session->player().Status().playback).toStdString();
    };
    ClickSong("C.mp3");  // refused while a song plays: the window says so
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(statusUnderTheMessage, "Playing");
    EXPECT_TRUE(QTest::qWaitFor([&] { return session->player().Waiting() == 0; }, 20000));
    EXPECT_EQ(Status(), "Paused");
    // Paused, the song keeps its place but no sound device, so the sound server may suspend.
    EXPECT_TRUE(Eventually([] { return SharedAudioOutput::Instance().OpenDevices() == 0; }));

    const int engines_made = engines.Made();
    client->Send("org.mpris.MediaPlayer2", "Quit");
    client->Call(kPlayer, "Next");
    client->Call(kPlayer, "Play");
    EXPECT_TRUE(window->Closed());
    EXPECT_EQ(engines.Made(), engines_made);
    EXPECT_EQ(QueuedNames(), (Strings{"A", "B", "C"}));
}

}  // namespace
}  // namespace tunekist::test

#include "desktop_test.moc"
