#include "gui/common/instance_channel.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>

#include "gui/common/qt_text.h"

namespace arkivo {
namespace {

constexpr char ActivateRequest = 'A';

}  // namespace

TInstanceChannel::TInstanceChannel(const std::string& executablePath, QObject* parent)
    : QObject(parent) {
    const std::string directory = InstanceDirectory();
    const std::string name = InstanceFileName(InstanceIdentifier(executablePath), directory);
    lockPath_ = directory + name + ".lock";
    socketPath_ = FromCoreText(directory + name);
    connect(&server_, &QLocalServer::newConnection, this, &TInstanceChannel::AcceptConnections);
}

bool TInstanceChannel::CheckForSingleInstance() {
    switch (lock_.Acquire(lockPath_)) {
        case LockOutcome::HeldElsewhere:
            return false;
        case LockOutcome::Unavailable:
            return true;
        case LockOutcome::Acquired:
            break;
    }
    // Holding the lock makes any socket file at the path a leftover of a crashed
    // instance.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath_);
    return true;
}

bool TInstanceChannel::ActivateFirstInstance(int timeoutMilliseconds) {
    // The first instance may have taken the lock and not be listening yet.
    const QDeadlineTimer deadline(timeoutMilliseconds);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(&ActivateRequest, 1);
            const bool sent =
                socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void TInstanceChannel::AcceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(ActivateRequest)) {
                emit ActivationRequested();
            }
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

}  // namespace arkivo
