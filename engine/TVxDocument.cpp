#include "TVxDocument.h"

#include "TFileCopy.h"
#include "TFilePaths.h"
#include "TVxBackup.h"
#include "TVxError.h"
#include "TVxSaver.h"
#include "TDirHandle.h"

#include <algorithm>
#include <utility>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <system_error>

namespace {
TVxDocumentHooks gNoHooks;
TVxDocumentQuestions gNoQuestions;
} // namespace

TVxDocument::TVxDocument(TVxDocumentHooks *hooks) : FHooks(hooks ? hooks : &gNoHooks), FQuestions(&gNoQuestions)
{
    UpdateLabel();
    FWork.OnPinned = [this](const std::string &why) { FQuestions->WorkCopyFull(FWork.Handle().Path(), why); };
}

void TVxDocument::UpdateLabel()
{
    // Errors of the working copy name the user's document, never the temporary file.
    FWork.SetLabel(FFileName.empty() ? FUntitledName : FFileName);
    FStore.SetLabel(FFileName.empty() ? FUntitledName : FFileName);
}

TVxDocument::~TVxDocument() = default;

void TVxDocument::SetHooks(TVxDocumentHooks *hooks) { FHooks = hooks ? hooks : &gNoHooks; }

void TVxDocument::SetQuestions(TVxDocumentQuestions *questions)
{
    FQuestions = questions ? questions : &gNoQuestions;
}

void TVxDocument::SetUntitledName(const std::string &name)
{
    FUntitledName = name;
    UpdateLabel();
}

void TVxDocument::SetProgress(TVxProgress *progress)
{
    FProgress = progress;
    FWork.SetProgress(progress);
}

TVxDocument::TChange::TChange(TVxDocument &doc, int64_t total)
    : Steps(doc.Sink(), total), FDoc(doc), FWas(std::exchange(doc.FChanging, true)),
      FUncaught(std::uncaught_exceptions())
{
}

TVxDocument::TChange::~TChange()
{
    FDoc.FChanging = FWas;
    // A failed edit announces no change, but the view may have blanked itself meanwhile.
    if (!FWas && std::uncaught_exceptions() > FUncaught)
        FDoc.FHooks->ContentChanged();
}

std::string TVxDocument::BackupFileName(const std::string &fileName, int32_t n)
{
    return TVxBackup::BackupFileName(fileName, n);
}

bool TVxDocument::MakeBackup(const std::string &fileName, int32_t count)
{
    try {
        const std::string target = TFilePaths::ResolveLinks(fileName);
        TDirHandle dir = TDirHandle::Open(TFilePaths::DirName(target));
        const std::string name = TFilePaths::BaseName(target);
        return TVxBackup::MakeBackup(dir, name, count, [&](const std::string &gen) { return dir.RenameAt(name, gen); });
    } catch (const std::exception &) {
        return false;
    }
}

void TVxDocument::AnnounceFileSize()
{
    FHooks->FileSizeChanged(FileSize());
    if (OnChangeFileSize)
        OnChangeFileSize();
}

void TVxDocument::FireChangeUndo()
{
    if (OnChangeUndo)
        OnChangeUndo(FUndo.Count());
}

void TVxDocument::BytesInserted(int32_t offset, int32_t count, bool recorded)
{
    FChangedBytes.Insert(offset, count);
    KeepMarks(FBookmarks.Insert(offset, count), recorded);
}

void TVxDocument::BytesDeleted(int32_t offset, int32_t count, bool recorded)
{
    FChangedBytes.Delete(offset, count);
    KeepMarks(FBookmarks.Delete(offset, count), recorded);
}

void TVxDocument::BytesReplaced(int32_t offset, int32_t oldCount, int32_t newCount, bool recorded)
{
    FChangedBytes.Replace(offset, oldCount, newCount);
    // Same size: bytes rewritten in place, the bookmarks stay on them.
    if (oldCount == newCount)
        return;
    KeepMarks(FBookmarks.Delete(offset, oldCount), recorded);
    KeepMarks(FBookmarks.Insert(offset, newCount), recorded);
}

void TVxDocument::KeepMarks(std::vector<TVxBookmark> before, bool recorded)
{
    if (recorded)
        FMarksBefore.insert(FMarksBefore.end(), std::make_move_iterator(before.begin()),
                            std::make_move_iterator(before.end()));
}

void TVxDocument::CheckGrowth(int64_t by) const
{
    if (int64_t(FileSize()) + by > kMaxFileSize)
        throw TVxError(TVxErrorKind::EditTooLarge);
}

// ---------------------------------------------------------------------------------------
// Files

TFileHandle TVxDocument::OpenSource(const std::string &fileName, int32_t &size)
{
    TFileHandle src = TFileHandle::OpenRead(fileName);
    const TFileHandle::TKind kind = src.Kind();
    if (kind == TFileHandle::TKind::Directory)
        throw std::system_error(EISDIR, std::generic_category(), fileName);
    if (kind != TFileHandle::TKind::Regular)
        throw TVxError(TVxErrorKind::OpenNotRegular, fileName);
    const int64_t length = src.Length();
    if (length > kMaxFileSize)
        throw TVxError(TVxErrorKind::OpenTooLarge, fileName);
    size = static_cast<int32_t>(length);
    return src;
}

bool TVxDocument::LoadFromFile(const std::string &fileName, bool recoverSave)
{
    // Everything that can fail happens before the current document is touched.
    const bool recovered = recoverSave && TVxSaver::RecoverPatch(fileName);
    int32_t size = 0;
    TFileHandle src = OpenSource(fileName, size);
    TTempFile work = TTempFile::Create();
    work.Handle().SetPath(fileName);
    if (size > 0 && !TFileCopy::CloneWhole(src, work.Handle())) {
        for (int64_t pos = 0; pos < size; pos += TVxProgress::kChunk) {
            const int64_t n = std::min<int64_t>(TVxProgress::kChunk, size - pos);
            TFileCopy::Copy(src, pos, work.Handle(), pos, n);
            // Until Adopt below, stopping costs only the new working copy.
            if (FProgress)
                FProgress->Report(pos + n, size, true);
        }
    }
    work.Handle().SetLength(size);
    const TFileIdentity identity = TFileIdentity::Of(src);
    src.Close();

    Replace(std::move(work), size, fileName, identity, TFilePaths::ResolveLinks(fileName));
    if (recovered)
        FQuestions->JournalRecovered(fileName);
    return true;
}

void TVxDocument::LoadUntitled(TTempFile image)
{
    const int64_t size = image.Handle().Length();
    if (size > kMaxFileSize)
        throw TVxError(TVxErrorKind::OpenTooLarge, FUntitledName);
    Replace(std::move(image), static_cast<int32_t>(size), std::string(), TFileIdentity(), std::string());
}

void TVxDocument::Replace(TTempFile work, int32_t size, const std::string &fileName, const TFileIdentity &identity,
                          const std::string &diskTarget)
{
    FWork.Adopt(std::move(work), size);
    FChanges.Reset();
    FChangedBytes.Clear();
    FBookmarks.Clear();
    ClearUndo();
    FFileName = fileName;
    UpdateLabel();
    FDiskIdentity = identity;
    FDiskTarget = diskTarget;
    AnnounceFileSize();
    FUndo.ResetSaveState();
    FHooks->DocumentReplaced();
    if (OnFileOpen)
        OnFileOpen();
    FHooks->PostFileOpened();
    AnnounceFileSize();
}

bool TVxDocument::WriteToFile(const std::string &fileName) { return WriteFile(fileName, 0, false); }

bool TVxDocument::WriteFile(const std::string &fileName, int32_t backups, bool askIfChanged)
{
    FLastWriteFailure = nullptr;
    try {
        const bool same = fileName == FFileName && !FDiskTarget.empty();
        TVxSaver saver(same ? FDiskTarget : fileName, !same);
        if (askIfChanged && same && FDiskIdentity.Exists && saver.Found() != FDiskIdentity &&
            !FQuestions->AskOverwriteChangedFile(fileName))
            return false;
        const bool patch = backups == 0 && same && PatchWillDo(saver.Found());
        const bool written = (patch && saver.WritePatch(FWork, FChanges.Ranges())) ||
                             saver.Write(FWork, backups, [&] { return FQuestions->AskSaveWithoutBackup(fileName); });
        if (written) {
            FDiskIdentity = saver.Written();
            FDiskTarget = saver.Target();
            FChanges.Reset();
        }
        return written;
    } catch (const std::exception &) {
        FLastWriteFailure = std::current_exception();
        return false;
    }
}

std::string TVxDocument::LastWriteError() const
{
    if (!FLastWriteFailure)
        return std::string();
    try {
        std::rethrow_exception(FLastWriteFailure);
    } catch (const std::exception &e) {
        return e.what();
    }
}

bool TVxDocument::PatchWillDo(const TFileIdentity &found) const
{
    return FChanges.Known() && FDiskIdentity.Exists && found == FDiskIdentity && FileSize() == FDiskIdentity.Size &&
           FChanges.Bytes() <= kMaxPatchBytes && FChanges.Bytes() * 2 <= FileSize();
}

bool TVxDocument::SaveToFile(const std::string &fileName, bool keepUndo)
{
    if (!WriteFile(fileName, SaveBackup ? SaveBackupCount : 0, true))
        return false;
    FFileName = fileName;
    UpdateLabel();
    FChangedBytes.Clear();
    if (keepUndo) {
        FUndo.MarkSaved(true);
        FireChangeUndo();
    } else {
        ClearUndo();
        FUndo.ResetSaveState();
    }
    if (OnFileSaved)
        OnFileSaved();
    return true;
}

// ---------------------------------------------------------------------------------------
// Single-byte edits

void TVxDocument::OverwriteByte(int32_t offset, uint8_t value, bool recordUndo)
{
    if (offset < 0 || offset >= FileSize())
        return;
    uint8_t old = FWork.ByteAt(offset);
    FHooks->EndSelection(false);
    FWork.SetByte(offset, value);
    FChanges.Add(offset, 1);
    FChangedBytes.Overwrite(offset, 1);
    if (recordUndo)
        AddUndo(ukOverwriteByte, offset, offset, old);
    FHooks->ContentChanged();
}

void TVxDocument::InsertByte(int32_t offset, uint8_t value, bool recordUndo)
{
    if (offset < 0 || offset > FileSize())
        return;
    CheckGrowth(1);
    FHooks->EndSelection(false);
    FWork.InsertByte(offset, value);
    FChanges.Invalidate();
    BytesInserted(offset, 1, recordUndo);
    if (recordUndo)
        AddUndo(ukInsertByte, offset, offset);
    AnnounceFileSize();
    FHooks->ContentChanged();
}

void TVxDocument::DeleteByte(int32_t offset, bool recordUndo)
{
    if (offset < 0 || offset >= FileSize())
        return;
    uint8_t old = FWork.ByteAt(offset);
    FWork.DeleteByte(offset);
    FChanges.Invalidate();
    BytesDeleted(offset, 1, recordUndo);
    if (recordUndo)
        AddUndo(ukDeleteByte, offset, offset, old);
    AnnounceFileSize();
    FHooks->ContentChanged();
}

// ---------------------------------------------------------------------------------------
// Block edits

void TVxDocument::FlushCache()
{
    const int64_t moved = FWork.FlushBytes();
    if (moved == 0) {
        FWork.FlushCache();
        return;
    }
    {
        TChange change(*this, moved);
        FWork.FlushCache(&change.Steps);
        change.Steps.Finish();
    }
    FHooks->ContentChanged();
}

void TVxDocument::ShiftTail(int32_t offset, int32_t delta)
{
    if (delta == 0)
        return;
    if (delta > 0)
        CheckGrowth(delta);
    {
        TChange change(*this, FWork.FlushBytes() + std::max(0, FileSize() - offset));
        FWork.ShiftTail(offset, delta, &change.Steps);
        change.Steps.Finish();
    }
    FChanges.Invalidate();
    // A positive delta opens a gap of new bytes at offset; a negative one closes the -delta
    // bytes before offset.
    if (delta > 0)
        BytesInserted(offset, delta, false);
    else
        BytesDeleted(offset + delta, -delta, false);
    AnnounceFileSize();
    FHooks->ContentChanged();
}

void TVxDocument::DeleteRange(int32_t a, int32_t b, bool recordUndo)
{
    if (a > b)
        std::swap(a, b);
    a = std::max(a, 0);
    b = std::min(b, FileSize() - 1);
    if (a > b)
        return;
    const int32_t n = b - a + 1;
    // A failed shift can have overwritten only as much of the range as the tail is long;
    // without a record that is all there is to keep.
    const int32_t keep = recordUndo ? n : std::min(n, FileSize() - (b + 1));
    TVxUndoBlock removed;
    {
        TChange change(*this, int64_t(keep) + FWork.FlushBytes() + (FileSize() - (b + 1)));
        removed = FStore.Capture(FWork, a, keep, &change.Steps);
        try {
            FWork.ShiftTail(b + 1, -n, &change.Steps);
        } catch (...) {
            // The shift put the tail back; the removed bytes it may have covered are ours to restore.
            FStore.Restore(removed, FWork, a);
            throw;
        }
        change.Steps.Finish();
    }
    FChanges.Invalidate();
    BytesDeleted(a, n, recordUndo);
    AnnounceFileSize();
    FHooks->EndSelection(true);
    if (recordUndo)
        AddRecord(ukDeleteRange, a, b, 0, std::move(removed), 0);
    FHooks->ContentChanged();
    FHooks->MoveCaretToOffset(a);
}

void TVxDocument::InsertBlock(int32_t offset, const uint8_t *data, int32_t count, bool recordUndo, bool moveCaret)
{
    InsertFilled(offset, count, recordUndo, moveCaret,
                 [&](int32_t at, TVxProgressSteps *steps) { FWork.WriteBlock(at, data, count, steps); });
}

void TVxDocument::InsertFilled(int32_t offset, int32_t count, bool recordUndo, bool moveCaret, const TFill &fill)
{
    if (offset < 0 || offset > FileSize() || count <= 0)
        return;
    CheckGrowth(count);
    {
        TChange change(*this, FWork.FlushBytes() + (FileSize() - offset) + count);
        FWork.ShiftTail(offset, count, &change.Steps);
        try {
            fill(offset, &change.Steps);
        } catch (...) {
            FWork.ShiftTail(offset + count, -count);
            throw;
        }
        change.Steps.Finish();
    }
    FChanges.Invalidate();
    BytesInserted(offset, count, recordUndo);
    AnnounceFileSize();
    FHooks->EndSelection(true);
    if (recordUndo)
        AddUndo(ukInsertRange, offset, offset + count - 1);
    FHooks->ContentChanged();
    if (moveCaret)
        FHooks->MoveCaretToOffset(offset + count);
}

void TVxDocument::ReplaceRange(int32_t a, int32_t b, const uint8_t *data, int32_t newCount, bool recordUndo,
                               bool moveCaret)
{
    ReplaceFilled(a, b, newCount, recordUndo, moveCaret,
                  [&](int32_t at, TVxProgressSteps *steps) { FWork.WriteBlock(at, data, newCount, steps); });
}

void TVxDocument::ReplaceFilled(int32_t a, int32_t b, int32_t newCount, bool recordUndo, bool moveCaret,
                                const TFill &fill)
{
    if (a > b)
        std::swap(a, b);
    if (b >= FileSize())
        b = FileSize() - 1;
    if (a < 0 || a > FileSize() || newCount < 0)
        return;
    const int32_t oldCount = std::max(0, b - a + 1);
    CheckGrowth(int64_t(newCount) - oldCount);
    const int32_t delta = newCount - oldCount;
    TVxUndoBlock old;
    {
        // A same-size replacement moves no tail (its fill still flushes a resized window).
        const int64_t tail = delta != 0 ? FileSize() - (a + oldCount) : 0;
        TChange change(*this, int64_t(oldCount) + FWork.FlushBytes() + tail + newCount);
        old = FStore.Capture(FWork, a, oldCount, &change.Steps);
        try {
            FWork.ShiftTail(a + oldCount, delta, &change.Steps);
        } catch (...) {
            if (delta < 0)
                FStore.Restore(old, FWork, a);
            throw;
        }
        try {
            if (newCount > 0)
                fill(a, &change.Steps);
        } catch (...) {
            FWork.ShiftTail(a + newCount, -delta);
            FStore.Restore(old, FWork, a);
            throw;
        }
        change.Steps.Finish();
    }
    if (delta == 0)
        FChanges.Add(a, newCount);
    else
        FChanges.Invalidate();
    BytesReplaced(a, oldCount, newCount, recordUndo);
    AnnounceFileSize();
    if (recordUndo) {
        if (newCount > 0)
            AddRecord(ukReplaceRange, a, a + newCount - 1, 0, std::move(old), oldCount);
        else if (oldCount > 0)
            AddRecord(ukDeleteRange, a, b, 0, std::move(old), 0);
    }
    FHooks->EndSelection(true);
    FHooks->ContentChanged();
    if (moveCaret)
        FHooks->MoveCaretToOffset(a + newCount);
}

int32_t TVxDocument::InsertFile(int32_t offset, const std::string &fileName, bool recordUndo)
{
    int32_t n = 0;
    TFileHandle src = OpenSource(fileName, n);
    if (n == 0 || offset < 0 || offset > FileSize())
        return 0;
    CheckGrowth(n);
    {
        TChange change(*this, FWork.FlushBytes() + (FileSize() - offset) + n);
        FWork.ShiftTail(offset, n, &change.Steps);
        try {
            FWork.CopyIn(src, 0, offset, n, &change.Steps);
        } catch (...) {
            FWork.ShiftTail(offset + n, -n);
            throw;
        }
        change.Steps.Finish();
    }
    FChanges.Invalidate();
    BytesInserted(offset, n, recordUndo);
    AnnounceFileSize();
    if (recordUndo)
        AddUndo(ukInsertRange, offset, offset + n - 1);
    FHooks->ContentChanged();
    return n;
}

void TVxDocument::ReplaceRanges(const std::vector<TVxSplice> &splices, bool recordUndo, bool group)
{
    if (splices.empty())
        return;
    CheckGrowth(SpliceGrowth(splices));
    if (recordUndo)
        RecordList().Reserve(splices.size() + (group ? 1 : 0));

    std::vector<std::unique_ptr<uint8_t[]>> removed;
    const int32_t first = splices.front().Offset;
    const int64_t end = int64_t(splices.back().Offset) + splices.back().OldCount;
    FWork.LoadCache(std::min(first, std::max(FileSize() - 1, 0)));
    if (FWork.WindowHolds(first, static_cast<int32_t>(end - first)))
        FWork.SpliceWindow(splices.data(), splices.size(), recordUndo ? &removed : nullptr);
    else
        FWork.Rewrite(splices.data(), splices.size(), recordUndo ? &removed : nullptr);

    bool sameSizes = true;
    for (const TVxSplice &s : splices)
        sameSizes = sameSizes && s.OldCount == s.NewCount;
    if (sameSizes) {
        for (const TVxSplice &s : splices)
            FChanges.Add(s.Offset, s.NewCount);
    } else {
        FChanges.Invalidate();
    }
    // Each splice at its place once those before it are applied.
    int64_t shift = 0;
    for (const TVxSplice &s : splices) {
        FChangedBytes.Replace(static_cast<int32_t>(s.Offset + shift), s.OldCount, s.NewCount);
        shift += int64_t(s.NewCount) - s.OldCount;
    }
    // The undo puts the bookmarks back once every splice is reverted: as they stood before
    // the first.
    KeepMarks(FBookmarks.Splice(splices), recordUndo);
    if (recordUndo)
        RecordSplices(splices, removed, group);
    AnnounceFileSize();
    FHooks->EndSelection(true);
    if (recordUndo)
        FireChangeUndo();
    FHooks->ContentChanged();
}

int64_t TVxDocument::SpliceGrowth(const std::vector<TVxSplice> &splices) const
{
    int64_t growth = 0;
    int64_t prevEnd = 0;
    for (const TVxSplice &s : splices) {
        if (s.Offset < prevEnd || s.OldCount < 0 || s.NewCount < 0 || (s.OldCount == 0 && s.NewCount == 0) ||
            int64_t(s.Offset) + s.OldCount > FileSize() || (s.NewCount > 0 && !s.Data))
            throw std::invalid_argument("ReplaceRanges: splices out of order or out of range");
        prevEnd = int64_t(s.Offset) + s.OldCount;
        growth += int64_t(s.NewCount) - s.OldCount;
    }
    return growth;
}

void TVxDocument::RecordSplices(const std::vector<TVxSplice> &splices,
                                std::vector<std::unique_ptr<uint8_t[]>> &removed, bool group)
{
    // Reserved beforehand: nothing here can fail once the document has changed.
    int64_t delta = 0;
    for (size_t i = 0; i < splices.size(); ++i) {
        const TVxSplice &s = splices[i];
        const int32_t at = static_cast<int32_t>(s.Offset + delta);
        TVxUndoRecord r;
        r.Start = at;
        if (s.OldCount > 0 && s.NewCount > 0) {
            r.Kind = ukReplaceRange;
            r.End = at + s.NewCount - 1;
            r.Count = s.OldCount;
            r.Data = FStore.Adopt(std::move(removed[i]), s.OldCount);
        } else if (s.OldCount > 0) {
            r.Kind = ukDeleteRange;
            r.End = at + s.OldCount - 1;
            r.Data = FStore.Adopt(std::move(removed[i]), s.OldCount);
        } else {
            r.Kind = ukInsertRange;
            r.End = at + s.NewCount - 1;
        }
        Record(std::move(r));
        delta += int64_t(s.NewCount) - s.OldCount;
    }
    if (group) {
        TVxUndoRecord g;
        g.Kind = ukGroup;
        g.Count = static_cast<int32_t>(splices.size());
        Record(std::move(g));
    }
}
