#include "TFileWatch.h"

#include "TBusyState.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"

#include <QFile>
#include <QFileInfo>

TFileWatch::TFileWatch(TVxHexcavator &editor, TBusyState &busy, std::function<void()> reload)
    : FEditor(editor), FBusy(busy), FReload(std::move(reload))
{
    FTimer.setSingleShot(true);
    FPoll.setInterval(1000);
    // The timers and the watcher are the connections' contexts: they go with this object.
    QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] { Check(); });
    QObject::connect(&FPoll, &QTimer::timeout, &FPoll, [this] { Schedule(); });
    QObject::connect(&FWatcher, &QFileSystemWatcher::fileChanged, &FWatcher, [this] { Schedule(); });
    QObject::connect(&FWatcher, &QFileSystemWatcher::directoryChanged, &FWatcher, [this] { Schedule(); });
}

void TFileWatch::Follow()
{
    FPath = FEditor.FileName();
    FReported.reset();
    Arm();
    // A change between the load's look at the file and the watch taking hold is caught here.
    Schedule();
}

void TFileWatch::Schedule()
{
    if (!FTimer.isActive())
        FTimer.start(0);
}

void TFileWatch::Arm()
{
    QString want;
    TFileIdentity file;
    if (!FPath.empty()) {
        const QString name = QString::fromStdString(FPath);
        file = TFileIdentity::Of(FPath);
        want = file.Exists ? name : QFileInfo(name).absolutePath();
    }
    // A file replaced while another program still holds the old one open keeps its path in
    // the watcher, which then watches the old file: start over on the new one.
    const bool stale = file.Exists && !file.SameFile(FArmedOn);
    for (const QString &p : Watched())
        if (p != want || stale)
            FWatcher.removePath(p);
    const bool armed = want.isEmpty() || Watched().contains(want) || FWatcher.addPath(want);
    FArmedOn = armed ? file : TFileIdentity();
    if (armed)
        FPoll.stop();
    else if (!FPoll.isActive())
        FPoll.start();
}

void TFileWatch::Check()
{
    if (FInBox) {
        FCheckAfterBox = true;
        return;
    }
    if (FBusy.Depth() > 0) {
        // A command is half done and may be asking something itself: after it.
        FTimer.start(100);
        return;
    }
    FTimer.stop();
    if (FPath.empty())
        return;
    // Armed before looking, so that a change right after the look still signals.
    Arm();
    const TFileIdentity now = TFileIdentity::Of(FPath);
    if (now == FEditor.DiskIdentity()) {
        FReported.reset();
        return;
    }
    if (FReported == now)
        return;
    FReported = now;
    Report(now);
}

void TFileWatch::Report(const TFileIdentity &now)
{
    FInBox = true;
    struct TLeaveBox {
        TFileWatch &W;
        ~TLeaveBox()
        {
            W.FInBox = false;
            if (W.FCheckAfterBox) {
                W.FCheckAfterBox = false;
                W.Schedule();
            }
        }
    } leave{*this};

    if (!now.Exists) {
        const QString name = QFileInfo(QString::fromStdString(FPath)).fileName();
        FBusy.Message(name + QStringLiteral("\r\nファイルは他のプログラムによって削除されたため、もう存在しません。"),
                                  mbOK | mbIconInformation);
        return;
    }
    if (FBusy.Message(QStringLiteral("ファイルが他のプログラムによって変更されました。読み直しますか？"),
                                  mbYesNo | mbIconQuestion) == idYes)
        FReload();
}
