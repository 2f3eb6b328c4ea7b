#include "app/single_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QMetaObject>

namespace tunekist {
namespace {

const QString kName = QStringLiteral("nl.tunekist.Tunekist");
const QString kPath = QStringLiteral("/nl/tunekist/Tunekist");
// Long enough for a window busy listing a large folder to answer; a window that never answers
// does not keep a launch from opening its own.
constexpr int kAnswerMilliseconds = 5000;

}  // namespace

void LaunchReceiver::Open(const QByteArrayList& paths) {
    std::vector<std::string> received;
    for (const QByteArray& path : paths) received.push_back(path.toStdString());
    // After the reply: a message the window shows must not hold the launch that is waiting.
    QMetaObject::invokeMethod(
        this,
        [this, received = std::move(received)] {
            if (Opened) Opened(received);
        },
        Qt::QueuedConnection);
}

SingleInstance::SingleInstance() {
    // Paths travel as arrays of bytes ("aay"), so that a name that is not UTF-8 arrives unchanged.
    qDBusRegisterMetaType<QByteArrayList>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    // The object is there before the name, so that a launch that finds the name finds the object.
    registered_ = bus.registerObject(kPath, &receiver_, QDBusConnection::ExportScriptableSlots);
    if (!registered_) return;
    const auto reply = bus.interface()->registerService(kName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    owner_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

SingleInstance::~SingleInstance() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (owner_) bus.unregisterService(kName);
    if (registered_) bus.unregisterObject(kPath);
}

bool SingleInstance::HandOver(const std::vector<std::string>& paths) const {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (owner_ || !bus.isConnected()) return false;
    QByteArrayList sent;
    for (const std::string& path : paths) sent.append(QByteArray::fromStdString(path));
    QDBusMessage call = QDBusMessage::createMethodCall(kName, kPath, kName, QStringLiteral("Open"));
    call << QVariant::fromValue(sent);
    return bus.call(call, QDBus::Block, kAnswerMilliseconds).type() == QDBusMessage::ReplyMessage;
}

}  // namespace tunekist
