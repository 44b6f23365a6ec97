#include "main/workspace/ui/instance_channel.h"

#include <QDataStream>
#include <QLocalSocket>

namespace scorvane {
namespace {

// What a later start says: the tag, then the list of files; the frame answers with one byte.
constexpr quint32 kOpenRequest = 0x53435631;  // "SCV1"
constexpr char kTaken = 'K';

}  // namespace

InstanceChannel::InstanceChannel(const QString& name, QObject* parent) : QObject(parent), name_(name) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::connectionArrived);
}

bool InstanceChannel::handOver(const QStringList& files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << kOpenRequest << files;
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs)) {
            return false;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return false;
        }
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

bool InstanceChannel::listen() {
    if (server_.listen(name_)) {
        return true;
    }
    // Nobody answered on the channel (handOver failed), so its socket was left by a program that ended.
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name_);
        return server_.listen(name_);
    }
    return false;
}

void InstanceChannel::connectionArrived() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            quint32 tag = 0;
            QStringList files;
            in >> tag >> files;
            if (!in.commitTransaction()) {
                return;  // the rest of the request is still on its way
            }
            if (tag != kOpenRequest) {
                socket->abort();
                return;
            }
            socket->putChar(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            emit filesHandedOver(files);
        });
    }
}

}  // namespace scorvane
