#include "TInstanceInbox.h"

#include "TInstanceMessage.h"
#include "TPeerCredentials.h"
#include "TPrivateFolder.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

namespace {
// Set on a connection once it is judged, so that late signals of it change nothing.
constexpr const char *kDone = "hxDone";

bool IsDone(const QLocalSocket *socket) { return socket->property(kDone).toBool(); }
} // namespace

TInstanceInbox::TInstanceInbox(QObject *parent) : QObject(parent), FServer(new QLocalServer(this))
{
    // POSIX: any option would let listen() replace a live instance's socket, and the folder
    // keeps others out. Windows: a pipe is reachable from everywhere, and without an option
    // its default DACL lets every user connect for reading.
    FServer->setSocketOptions(TPrivateFolder::EndpointsOutsideFolder() ? QLocalServer::UserAccessOption
                                                                       : QLocalServer::NoOptions);
    // Room for the connections of instances that list this one while it is busy.
#if QT_VERSION >= QT_VERSION_CHECK(6, 3, 0)
    FServer->setListenBacklogSize(128);
#endif
    connect(FServer, &QLocalServer::newConnection, this, &TInstanceInbox::Accept);
}

TInstanceInbox::~TInstanceInbox() { Close(); }

bool TInstanceInbox::Listen(const QString &path)
{
    const std::string entry = path.toStdString();
    if (!TPrivateFolder::Announce(entry))
        return false;
    if (!FServer->listen(path)) {
        TPrivateFolder::Withdraw(entry);
        return false;
    }
    FPath = path;
    return true;
}

QString TInstanceInbox::ErrorString() const { return FServer->errorString(); }

void TInstanceInbox::Close()
{
    if (FServer->isListening())
        FServer->close();
    if (!FPath.isEmpty())
        TPrivateFolder::Withdraw(FPath.toStdString());
    FPath.clear();
}

void TInstanceInbox::SetPeerProbe(TPeerProbe probe) { FProbe = std::move(probe); }

void TInstanceInbox::Accept()
{
    while (QLocalSocket *socket = FServer->nextPendingConnection()) {
        if (FOpen >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            emit Dropped(QStringLiteral("busy"));
            continue;
        }
        const qintptr descriptor = socket->socketDescriptor();
        if (!(FProbe ? FProbe(descriptor) : TPeerCredentials::IsOwnUser(descriptor))) {
            socket->abort();
            socket->deleteLater();
            emit Dropped(QStringLiteral("peer"));
            continue;
        }
        ++FOpen;
        // Qt stops reading from the peer once one message is buffered.
        socket->setReadBufferSize(TInstanceMessage::kSize);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Readable(socket); });
        // A peer that hangs up without a byte was only counting the instances.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            Readable(socket);
            if (!IsDone(socket)) {
                const bool partial = socket->bytesAvailable() > 0;
                Finish(socket);
                if (partial)
                    emit Dropped(QStringLiteral("short"));
            }
        });
        QTimer::singleShot(kIdleMs, socket, [this, socket] {
            if (!IsDone(socket)) {
                Finish(socket);
                emit Dropped(QStringLiteral("idle"));
            }
        });
        if (socket->bytesAvailable() > 0)
            Readable(socket);
    }
}

void TInstanceInbox::Readable(QLocalSocket *socket)
{
    if (IsDone(socket) || socket->bytesAvailable() < qint64(TInstanceMessage::kSize))
        return;
    TInstanceMessage::TBytes bytes;
    const qint64 n = socket->read(bytes.data(), qint64(bytes.size()));
    TEditorNotice notice;
    const bool ok = TInstanceMessage::Decode(bytes.data(), n < 0 ? 0 : size_t(n), notice);
    // Whatever follows the one message is not read: the connection has said its piece.
    Finish(socket);
    if (ok)
        emit Received(notice);
    else
        emit Dropped(QStringLiteral("garbage"));
}

void TInstanceInbox::Finish(QLocalSocket *socket)
{
    if (IsDone(socket))
        return;
    socket->setProperty(kDone, true);
    --FOpen;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
