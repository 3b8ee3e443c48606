#pragma once
// The receiving end of one instance: a local socket at a full path in the private folder,
// turning each accepted connection into at most one notice.
//
// Every connection is judged before a byte of it is read: its peer must be a process of this
// user (TPeerCredentials, or the probe a test sets), else it is closed. Then exactly one
// TInstanceMessage is expected; the connection is closed after it, after anything that is
// not one, after kIdleMs without a whole message, and at once when kMaxConnections are
// already open. Qt buffers at most one message's bytes per connection. A connection closed
// without a notice is reported by Dropped, so a caller (and a test) can tell that the
// judgement happened; one that hangs up without sending a byte is an instance listing the
// others, which is no fault and not reported.
//
// Listen never takes over an instance's entry that exists, live or stale: on POSIX the
// server has no socket options, so an existing socket file makes listen fail; on Windows the
// entry is a marker file that TPrivateFolder::Announce creates new before the pipe is made,
// and the pipe admits only this user (UserAccessOption), as it lives in no private folder.
// The registry picks an unused name and removes stale entries only after nobody answered.
//
// Everything runs on the owner's thread, from its event loop: a notice arrives as Received
// when the loop next runs, like a posted window message.

#include "TEditorNotice.h"

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QLocalSocket;

class TInstanceInbox : public QObject {
    Q_OBJECT
public:
    // Whether the process at the other end of a connected socket is this user's.
    using TPeerProbe = std::function<bool(qintptr socketDescriptor)>;

    static constexpr int kMaxConnections = 64;
    static constexpr int kIdleMs = 5000;

    explicit TInstanceInbox(QObject *parent = nullptr);
    ~TInstanceInbox() override;

    // Makes the entry `path` and starts listening there; false (see ErrorString) when
    // something has that name or the system refuses.
    bool Listen(const QString &path);
    QString ErrorString() const;
    // Stops listening and removes the entry.
    void Close();

    // Test seam: who connected, instead of asking the system. Null restores the system's answer.
    void SetPeerProbe(TPeerProbe probe);
    int OpenConnections() const { return FOpen; }

signals:
    void Received(TEditorNotice notice);
    // A connection closed without a notice: "peer" (another user), "garbage" (not a
    // message), "short" (hung up inside a message), "idle" (no whole message in time),
    // "busy" (too many open).
    void Dropped(const QString &why);

private:
    void Accept();
    void Readable(QLocalSocket *socket);
    void Finish(QLocalSocket *socket);

    QLocalServer *FServer;
    TPeerProbe FProbe;
    QString FPath; // the entry while listening
    int FOpen = 0;
};
