#pragma once
// The running editors of this user and the notices between them: the stand-in for walking
// the desktop's windows and posting window messages to those of class "TVxHexcavator".
//
// Each instance owns one registry for its lifetime. The registry listens (TInstanceInbox) on
// a socket "<pid>-<random>.hxi" in the private folder DefaultFolder() (TPrivateFolder: mode
// 0700, refused when it is another user's or open to group or others). On Windows the
// "socket" is a named pipe called by that path plus a marker file at the path, which the
// instance holds open and the system deletes with it (TPrivateFolder). An instance is
// running when its socket answers:
//   - FindEditorWindows connects to every socket in the folder. A socket that answers is
//     listed; one where the connection is refused (POSIX) or whose pipe is not there
//     (Windows) belongs to an instance that died without closing it (a crash, SIGKILL) and
//     is removed on the spot, so it is never counted again; a live instance's marker
//     cannot be removed, so one that is just starting is only left out. Connecting is the kernel's business, so a busy instance (a long save) is
//     listed all the same; one that stays busy until its queue of connections is full is
//     left out after kConnectMs, but its socket is kept.
//   - Order, front to back: most recently activated first. An instance's activation stamp
//     is its socket's modification time, which NoteActivated sets (nanoseconds, never
//     earlier than any stamp in the folder): anyone reads the order from the folder without
//     asking the instances, and a stamp survives no instance, as the socket does not.
//     Equal stamps fall back to the socket names.
//   - A socket (or the whole folder) deleted under a running instance, say by a cleaner of
//     the temporary folder, is made again with its stamp the next time that instance
//     lists the others; until then the others cannot see it.
//   - Posting connects, writes one 8-byte TInstanceMessage and hangs up: it never waits for
//     the receiver, which handles the notice when its event loop next runs. On POSIX the
//     bytes go into the kernel's buffer at once. A Windows pipe made by Qt has no buffer, so
//     the bytes pass only when the receiver reads them (for a post to this very instance,
//     once its loop runs again): the connection then stays open, without blocking, until
//     they have passed, for at most TInstanceInbox::kIdleMs. Listed instances that vanish
//     before the post are skipped quietly.
// Instances of another user never reach this one: the folder (Windows: the pipe's DACL)
// keeps them out, and every connection's peer must be a process of this user, as the system
// vouches for it (TPeerCredentials), before a byte is read.
//
// Who calls what (the main window and the editor control):
//   EditorInstanceCount  at start (restore placement and search text only when alone) and at
//                        exit (write the settings file only when alone)
//   PostToEditors        SearchTextChanged after storing the shared search record (not when
//                        silent), FileOpened after a file was loaded
//   CloseAllInstances    the close-all command (Ctrl+E)
//   ActivatePreviousInstance  the next-instance command "前のウィンドウ(&P)" (Ctrl+Tab)
//   NoteActivated        whenever the main window becomes the active window
//   Leave                at exit, before the count that decides who writes the settings
// and the signals, delivered from the event loop to every instance the calling one included:
//   SearchTextChanged (reload the shared record), FileOpened (re-read the recent files),
//   CloseRequested (close as if by the close box, asking about unsaved changes),
//   ActivateRequested (raise and activate the main window; the stamp is already updated).
//
// Cost: listing is one folder read plus one local connect per instance (well under a
// millisecond each); a post adds one small write per instance. One thread uses a registry.
// Errors: the constructor throws std::system_error (the folder) or std::runtime_error (no
// socket could be made); after that nothing throws, failures only leave instances out.

#include "TEditorNotice.h"
#include "TInstanceInbox.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QLocalSocket;

class TInstanceRegistry : public QObject {
    Q_OBJECT
public:
    struct TEntry {
        QString Path;     // the instance's socket: its identity while it runs
        qint64 StampNs = 0; // when it was last activated
    };

    static constexpr const char *kFolderLeaf = "hexcavator";
    static constexpr const char *kSuffix = ".hxi";
    static constexpr int kConnectMs = 1000;

    // POSIX $XDG_RUNTIME_DIR/hexcavator, else <temporary folder>/hexcavator-<uid>; Windows
    // %LOCALAPPDATA%/hexcavator/instances (TPrivateFolder::Locate).
    static QString DefaultFolder();

    // Joins the instances meeting in `folder` (created when missing): listening, stamped as
    // the front instance.
    explicit TInstanceRegistry(const QString &folder = DefaultFolder(), QObject *parent = nullptr);
    // Leaves: the socket is removed, so nobody lists this instance any more.
    ~TInstanceRegistry() override;

    const QString &Folder() const { return FFolder; }
    const QString &OwnPath() const { return FOwnPath; }

    // The running instances, this one included, front to back.
    std::vector<TEntry> FindEditorWindows();
    // Their number; 1 means this instance runs alone.
    int EditorInstanceCount();
    // `notice` to every running instance, this one included, in front-to-back order.
    void PostToEditors(TEditorNotice notice);
    // Close to everyone; each instance asks about its own unsaved changes.
    void CloseAllInstances() { PostToEditors(TEditorNotice::Close); }
    // Activate to the instance before this one in the order, wrapping to the last: from
    // the front instance that is the one furthest back, so repeating it visits them all.
    // Nothing when this instance is not listed.
    void ActivatePreviousInstance();
    // This instance is the front one from now on.
    void NoteActivated();
    // Stops listening and removes the socket for good, while the registry can still list
    // the others: an instance that is closing leaves first and then asks whether anyone is
    // left, so of several instances closing at the same moment at least one sees itself as
    // the last (each counting before the other has left would leave nobody to write the
    // settings). Notices are no longer received; listing and posting still work.
    void Leave();

    // Test seam: whether the peer of an accepted connection is this user's (see TInstanceInbox).
    void SetPeerProbe(TInstanceInbox::TPeerProbe probe) { FInbox->SetPeerProbe(std::move(probe)); }

signals:
    void SearchTextChanged();
    void FileOpened();
    void CloseRequested();
    void ActivateRequested();
    // A connection was closed without a notice, and why (TInstanceInbox::Dropped).
    void ConnectionDropped(const QString &why);

private:
    struct TListed {
        TEntry Entry;
        std::unique_ptr<QLocalSocket> Socket; // connected
    };
    // Listens again when this instance's socket has been deleted.
    void Relisten();
    std::vector<TListed> List();
    // Writes the notice and hangs up, keeping a connection whose bytes are still on their way.
    void Send(std::unique_ptr<QLocalSocket> socket, TEditorNotice notice);
    void Dispatch(TEditorNotice notice);

    QString FFolder;
    QString FOwnPath;
    qint64 FStampNs = 0;
    bool FLeft = false;
    TInstanceInbox *FInbox;
};
