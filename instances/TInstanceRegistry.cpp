#include "TInstanceRegistry.h"

#include "TInstanceMessage.h"
#include "TPrivateFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

namespace {
// Random names never meet a stale socket of the same name, so listening needs no removal;
// the few tries only cover an astronomically unlikely collision.
constexpr int kListenTries = 16;

// platform/ takes UTF-8 paths on every system (QFile::encodeName would be the ANSI code page
// on Windows).
std::string Local(const QString &path) { return path.toStdString(); }

QString FromLocal(const std::string &path) { return QString::fromStdString(path); }
} // namespace

QString TInstanceRegistry::DefaultFolder() { return FromLocal(TPrivateFolder::Locate(kFolderLeaf)); }

TInstanceRegistry::TInstanceRegistry(const QString &folder, QObject *parent)
    : QObject(parent), FFolder(folder), FInbox(new TInstanceInbox(this))
{
    while (FFolder.size() > 1 && FFolder.endsWith(QLatin1Char('/')))
        FFolder.chop(1);
    TPrivateFolder::Ensure(Local(FFolder));
    for (int i = 0; i < kListenTries && FOwnPath.isEmpty(); ++i) {
        const QString path = FFolder + QStringLiteral("/%1-%2%3")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'))
                                           .arg(QLatin1String(kSuffix));
        if (FInbox->Listen(path))
            FOwnPath = path;
        else if (QFile::exists(path))
            continue; // the name is taken: draw another
        else
            throw std::runtime_error(Local(path) + ": " + FInbox->ErrorString().toStdString());
    }
    if (FOwnPath.isEmpty())
        throw std::runtime_error(Local(FFolder) + ": no free name for this instance's socket");
    connect(FInbox, &TInstanceInbox::Received, this, &TInstanceRegistry::Dispatch);
    connect(FInbox, &TInstanceInbox::Dropped, this, &TInstanceRegistry::ConnectionDropped);
    NoteActivated();
}

TInstanceRegistry::~TInstanceRegistry() { FInbox->Close(); }

void TInstanceRegistry::Leave()
{
    FLeft = true;
    FInbox->Close();
}

void TInstanceRegistry::Relisten()
{
    if (FLeft || QFileInfo(FOwnPath).exists() || QFileInfo(FOwnPath).isSymLink())
        return;
    try {
        TPrivateFolder::Ensure(Local(FFolder));
    } catch (const std::exception &) {
        return; // a folder that is no longer private gets no socket of ours
    }
    FInbox->Close();
    if (FInbox->Listen(FOwnPath))
        TPrivateFolder::SetStamp(Local(FOwnPath), FStampNs);
}

std::vector<TInstanceRegistry::TListed> TInstanceRegistry::List()
{
    Relisten();
    std::vector<TListed> out;
    const std::string folder = Local(FFolder);
    for (const auto &e : TPrivateFolder::Sockets(folder, kSuffix)) {
        const std::string path = folder + "/" + e.Name;
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(FromLocal(path));
        if (socket->state() != QLocalSocket::ConnectedState && !socket->waitForConnected(kConnectMs)) {
            // Refused: the socket file is there and nobody listens, its instance is dead; on
            // Windows the marker is there and its pipe is not. Removing fails for a live
            // instance's marker. A full queue or a timeout is a live instance that is slow.
            const auto error = socket->error();
            if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
                TPrivateFolder::Remove(path);
            continue;
        }
        out.push_back({{FromLocal(path), e.StampNs}, std::move(socket)});
    }
    std::sort(out.begin(), out.end(), [](const TListed &a, const TListed &b) {
        return a.Entry.StampNs != b.Entry.StampNs ? a.Entry.StampNs > b.Entry.StampNs : a.Entry.Path < b.Entry.Path;
    });
    return out;
}

std::vector<TInstanceRegistry::TEntry> TInstanceRegistry::FindEditorWindows()
{
    std::vector<TEntry> out;
    for (auto &l : List())
        out.push_back(l.Entry);
    return out;
}

int TInstanceRegistry::EditorInstanceCount() { return static_cast<int>(List().size()); }

void TInstanceRegistry::PostToEditors(TEditorNotice notice)
{
    for (auto &l : List())
        Send(std::move(l.Socket), notice);
}

void TInstanceRegistry::ActivatePreviousInstance()
{
    auto listed = List();
    const auto own = std::find_if(listed.begin(), listed.end(), [&](const TListed &l) { return l.Entry.Path == FOwnPath; });
    if (own == listed.end())
        return;
    const auto i = own - listed.begin();
    Send(std::move(listed[size_t(i == 0 ? listed.size() - 1 : i - 1)].Socket), TEditorNotice::Activate);
}

void TInstanceRegistry::NoteActivated()
{
    if (FLeft)
        return;
    const std::string folder = Local(FFolder);
    int64_t stamp = TPrivateFolder::NowNs();
    // Never behind another instance's stamp, should the clock have been set back.
    for (const auto &e : TPrivateFolder::Sockets(folder, kSuffix))
        if (folder + "/" + e.Name != Local(FOwnPath))
            stamp = std::max(stamp, e.StampNs + 1);
    FStampNs = stamp;
    TPrivateFolder::SetStamp(Local(FOwnPath), stamp);
}

void TInstanceRegistry::Send(std::unique_ptr<QLocalSocket> socket, TEditorNotice notice)
{
    const auto bytes = TInstanceMessage::Encode(notice);
    socket->write(bytes.data(), qint64(bytes.size()));
    // POSIX: eight bytes into a fresh connection's empty kernel buffer, written at once, and
    // the connection closes here. Windows: closing waits for the receiver to read them.
    socket->flush();
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState)
        return;
    QLocalSocket *pending = socket.release();
    pending->setParent(this);
    connect(pending, &QLocalSocket::disconnected, pending, &QObject::deleteLater);
    QTimer::singleShot(TInstanceInbox::kIdleMs, pending, [pending] {
        pending->abort();
        pending->deleteLater();
    });
}

void TInstanceRegistry::Dispatch(TEditorNotice notice)
{
    switch (notice) {
    case TEditorNotice::SearchTextChanged:
        emit SearchTextChanged();
        break;
    case TEditorNotice::FileOpened:
        emit FileOpened();
        break;
    case TEditorNotice::Close:
        emit CloseRequested();
        break;
    case TEditorNotice::Activate:
        // Asked to come to the front: it is the front one now, before its window manager
        // (if any) gets round to saying so.
        NoteActivated();
        emit ActivateRequested();
        break;
    }
}
