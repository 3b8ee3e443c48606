#include "TBookmarkPersistence.h"

#include "TAppDir.h"
#include "TBusyState.h"
#include "TEngineMessages.h"
#include "TVxBookmarkStore.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"

#include <QFileInfo>

TBookmarkPersistence::TBookmarkPersistence(const TFeatureContext &context) : FContext(context)
{
    FListen.Listen(FContext.Editor.OnFileOpen, [this] { Load(); });
    FListen.Listen(FContext.Editor.OnFileSaved, [this] { Write(FPending); });
}

QString TBookmarkPersistence::StoreFileName()
{
    return QString::fromStdString(TAppDir::GetAppDir()) + QLatin1String(TVxBookmarkStore::kFileName);
}

std::string TBookmarkPersistence::Key() const
{
    const std::string &name = FContext.Editor.FileName();
    if (name.empty())
        return std::string();
    return QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString();
}

void TBookmarkPersistence::Tell(const QString &text, unsigned icon) { FContext.Busy.Message(text, icon); }

void TBookmarkPersistence::Load()
{
    FPending = false;
    FHasRecord = false;
    FWriteFailTold = false;
    const std::string key = Key();
    if (key.empty())
        return;
    const TVxBookmarkStore::TRead read = TVxBookmarkStore(StoreFileName().toStdString()).Read();
    if (read.Damaged() && !FDamageTold) {
        FDamageTold = true;
        Tell(StoreFileName() +
                 (read.Unreadable ? QStringLiteral("\r\nしおりのファイルを読めませんでした。しおりは保存されません。")
                                  : QStringLiteral("\r\nしおりのファイルの一部が壊れています。読めない部分は無視しました。"
                                                   "ファイルは、しおりを変更するまでそのままにします。")),
             mbIconWarning);
    }
    const TVxBookmarkRecord *record = read.File.Find(key);
    if (!record)
        return;
    FHasRecord = true;
    TVxHexcavator &ed = FContext.Editor;
    const TFileIdentity &disk = ed.DiskIdentity();
    const QString fileName = QString::fromStdString(ed.FileName());
    if (record->Size != disk.Size) {
        Tell(fileName + QStringLiteral("\r\nしおりを保存した後でファイルのサイズが変わっていたため、しおりを削除しました。"),
             mbIconWarning);
        Write(false); // no bookmarks: the record goes
        return;
    }
    for (const TVxBookmark &m : record->Marks)
        ed.Bookmarks().Add(m.Offset, m.Length, m.Name, m.Color);
    ed.viewport()->update();
    if (record->MtimeNs != disk.MtimeNs) {
        Tell(fileName + QStringLiteral("\r\nしおりを保存した後でファイルが変更されています。サイズは同じなので、しおりは同じ位置に残しました。"),
             mbIconInformation);
        Write(false); // under the new date: said once
    }
}

void TBookmarkPersistence::Changed()
{
    if (Key().empty())
        return;
    if (!FContext.Editor.Changes().Known()) {
        FPending = true;
        return;
    }
    Write(true);
}

void TBookmarkPersistence::Write(bool userChange)
{
    if (Key().empty())
        return;
    if (!FHasRecord && FContext.Editor.Bookmarks().Empty())
        return; // nothing kept, nothing to keep: a save of a file without bookmarks reads nothing
    TVxHexcavator &ed = FContext.Editor;
    TVxBookmarkRecord record;
    record.Path = Key();
    record.Size = ed.DiskIdentity().Size;
    record.MtimeNs = ed.DiskIdentity().MtimeNs;
    record.Marks = ed.Bookmarks().All();
    try {
        TVxBookmarkStore(StoreFileName().toStdString()).Put(record, userChange);
        FHasRecord = !record.Marks.empty();
        FPending = false;
    } catch (const std::exception &e) {
        if (!FWriteFailTold) {
            FWriteFailTold = true;
            Tell(StoreFileName() + QStringLiteral("\r\nしおりのファイルに書き込めませんでした。\r\n") +
                     TEngineMessages::TextOf(e),
                 mbIconWarning);
        }
    }
}
