#pragma once
// CheckForSingleInstance on a desktop: the lock of shell/single_instance.h plus the
// local socket through which a later start asks the first instance to raise its
// main window.

#include <QLocalServer>
#include <QObject>
#include <string>

#include "shell/single_instance.h"

namespace arkivo {

class TInstanceChannel : public QObject {
    Q_OBJECT
  public:
    // The channel of the executable at executablePath, in InstanceDirectory().
    explicit TInstanceChannel(const std::string& executablePath, QObject* parent = nullptr);

    // True when no other instance of the same executable file name runs: this one
    // then holds the lock until it ends and listens for later starts (replacing a
    // socket a crashed instance left behind). Also true when no lock can be taken
    // at all, so a start is never refused for want of a runtime directory.
    bool CheckForSingleInstance();

    // A later start: asks the first instance to bring its main window to the top;
    // false when it could not be reached within the time given.
    bool ActivateFirstInstance(int timeoutMilliseconds = 3000);

    const QString& SocketPath() const { return socketPath_; }

  signals:
    void ActivationRequested();

  private:
    void AcceptConnections();

    std::string lockPath_;
    QString socketPath_;
    InstanceLock lock_;
    QLocalServer server_;
};

}  // namespace arkivo
