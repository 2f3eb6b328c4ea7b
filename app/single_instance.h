#pragma once
// One window per desktop session. The first launch owns the name nl.tunekist.Tunekist on the
// session bus; a later launch hands the paths it was given to that window and ends, and the
// window opens them as if they had been given to it.
#include <QByteArrayList>
#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tunekist {

// The object a later launch calls: /nl/tunekist/Tunekist, interface nl.tunekist.Tunekist, method
// Open(aay paths), each path as raw file-system bytes.
class LaunchReceiver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "nl.tunekist.Tunekist")

public:
    // Gets the paths of each later launch (possibly none), once the call is answered.
    std::function<void(std::vector<std::string> paths)> Opened;

public Q_SLOTS:
    Q_SCRIPTABLE void Open(const QByteArrayList& paths);
};

class SingleInstance {
public:
    // Claims the name for this launch. Without a session bus nothing is claimed and nothing is said.
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // When another launch owns the name, hands it `paths` (absolute) and returns true once it has
    // taken them; this launch then ends. False when this launch owns the name, without a session
    // bus, or when the other window did not answer within a few seconds: this launch opens its
    // own window.
    bool HandOver(const std::vector<std::string>& paths) const;

    // The paths later launches hand over, for the window of this launch (see LaunchReceiver).
    LaunchReceiver& Receiver() { return receiver_; }

private:
    LaunchReceiver receiver_;
    bool owner_ = false;
    bool registered_ = false;
};

}  // namespace tunekist
