#pragma once
// The document engine: the half of the editor control that owns the edited bytes.
//
// It loads a file into a private working copy, reads and edits bytes through the cache
// window of TVxWorkCopy, reverts edits through TVxUndoList, and saves (optionally after
// renaming the previous file into a backup generation). Plain C++ and POSIX: no Qt, and no
// words for the user: it asks and tells the user through the typed calls of
// TVxDocumentQuestions (attached by the program), and its own errors are typed (TVxError).
// The view derives from it and answers its TVxDocumentHooks; tests use it alone.
//
// Offsets and sizes are signed 32-bit; a document holds at most 2147483647 bytes.
//
// Errors: loading and block edits throw (std::system_error with errno, or TVxError) and
// leave the document byte for byte as it was, with no undo record added. WriteToFile and
// SaveToFile report failure by returning false; LastWriteFailure() holds the exception.
//
// Events fire only when assigned. Orders that callers may rely on:
//  - load: OnChangeUndo(0), OnChangeFileSize, (caret moved by the view), OnFileOpen,
//    OnChangeFileSize again, then (when a cut-short save was undone) questions
//    JournalRecovered;
//  - every recorded edit, undo and redo: OnChangeUndo(undo count) after the change;
//  - every change of FileSize: hooks FileSizeChanged, then OnChangeFileSize;
//  - save: questions AskOverwriteChangedFile before anything is written, then
//    AskSaveWithoutBackup when a wanted backup could not be made; after a SaveToFile that
//    wrote, OnChangeUndo, then OnFileSaved (FileName and DiskIdentity are the new file's).

#include "TFileIdentity.h"
#include "TVxBookmarks.h"
#include "TVxByteTransform.h"
#include "TVxChangeSet.h"
#include "TVxChangedBytes.h"
#include "TVxDocumentHooks.h"
#include "TVxDocumentQuestions.h"
#include "TVxEvent.h"
#include "TVxProgress.h"
#include "TVxProgressSteps.h"
#include "TVxUndoList.h"
#include "TVxWorkCopy.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

using TNotifyEvent = TVxEvent<>;
// (UndoCount)
using TVxChangeUndoEvent = TVxEvent<int32_t>;

class TVxDocument {
public:
    static constexpr int32_t kMaxFileSize = TVxWorkCopy::kMaxFileSize;
    // A patch save journals the previous bytes of what it writes; beyond this (or half the
    // file) writing the whole file is the cheaper way.
    static constexpr int64_t kMaxPatchBytes = int64_t(64) << 20;

    // Creates an empty untitled document. Without a usable temporary folder it still exists
    // (empty, with no working copy) and WorkCopyError() says why.
    explicit TVxDocument(TVxDocumentHooks *hooks = nullptr);
    virtual ~TVxDocument();
    TVxDocument(const TVxDocument &) = delete;
    TVxDocument &operator=(const TVxDocument &) = delete;

    void SetHooks(TVxDocumentHooks *hooks);
    // Who answers the questions and hears the notices (nullptr: the defaults of
    // TVxDocumentQuestions). The program attaches itself here, not through the view.
    void SetQuestions(TVxDocumentQuestions *questions);
    // What the document's errors call it while it has no file name (they name the user's
    // document, never the temporary file). The program sets it in the user's words.
    void SetUntitledName(const std::string &name);
    // Long operations report here while it is set (see TVxProgress): load (cancellable until
    // the new working copy is complete), save (not cancellable), replace-all's rewrite
    // (cancellable) and the searcher's scans (cancellable). A cancelled operation throws
    // TVxCancelled and leaves the document as it was. Block edits (ShiftTail, DeleteRange,
    // InsertBlock, ReplaceRange, InsertFile) and undo and redo of them report too, each as
    // one operation over all the copies it makes (the flush of a resized window, the undo
    // block, the tail, the new bytes), never cancellable: they change the working copy in
    // place. An undo of a group reports once for the whole group.
    void SetProgress(TVxProgress *progress);
    TVxProgress *Progress() const { return FProgress; }
    // True while a block edit is moving bytes inside the working copy (its progress may
    // repaint the window meanwhile): the document's bytes must not be read then, since a
    // read would load the cache window from a half-moved file.
    bool Changing() const { return FChanging; }

    // --- Events -------------------------------------------------------------------------
    TNotifyEvent OnFileOpen;
    TNotifyEvent OnChangeFileSize;
    TVxChangeUndoEvent OnChangeUndo;
    TNotifyEvent OnFileSaved;

    // --- State ---------------------------------------------------------------------------
    const std::string &FileName() const { return FFileName; }
    int32_t FileSize() const { return FWork.FileSize(); }
    // Empty, or why no working copy could be made in the temporary folder (the system's
    // reason, naming the folder).
    const std::string &WorkCopyError() const { return FWork.CreateError(); }
    bool SaveBackup = false;
    int32_t SaveBackupCount = 10;

    // --- Reading (every reader goes through the window) -----------------------------------
    void LoadCache(int32_t offset) { FWork.LoadCache(offset); }
    // Writes the window back. Behind a window that typing made longer or shorter this moves
    // the rest of the working copy: in a large document long work, reported as one operation
    // with Changing() true meanwhile (then the view repaints through ContentChanged).
    void FlushCache();
    // True when reading at offset would move the window and the write-back that comes first
    // moves at least kLongFlush bytes: the caller may do it beforehand, where it can show
    // progress (a paint cannot).
    bool LongFlushBefore(int32_t offset) const
    {
        return !FWork.WindowHolds(offset, 1) && FWork.FlushBytes() >= kLongFlush;
    }
    static constexpr int64_t kLongFlush = TVxProgress::kChunk;
    // Byte at 0 <= offset < FileSize; a bounds test and an index while the window covers it.
    uint8_t ByteAt(int32_t offset) { return FWork.ByteAt(offset); }
    std::vector<uint8_t> ReadBytes(int32_t offset, int32_t count) { return FWork.ReadBytes(offset, count); }
    // Bulk reading for scanners: up to count bytes into buf, returns how many. The window
    // stays where it is; see TVxWorkCopy::ReadInto.
    int32_t ReadInto(int32_t offset, uint8_t *buf, int32_t count) const { return FWork.ReadInto(offset, buf, count); }
    const TVxWorkCopy &WorkCopy() const { return FWork; }

    // --- Files ---------------------------------------------------------------------------
    // Replaces the document with the file's bytes. Refuses (throws, nothing changed)
    // directories, non-regular files and files above kMaxFileSize bytes. A save of the file
    // that was cut short (a journal beside it) is undone first, and the user told
    // (JournalRecovered), unless recoverSave is false: then the file is only read, as it is
    // (the other file of a compare, which is never written).
    bool LoadFromFile(const std::string &fileName, bool recoverSave = true);
    // Replaces the document with the bytes of `image`, a file made by TTempFile::Create
    // (an import writes its memory image there), which becomes the working copy as it is:
    // nothing is copied. The document is untitled afterwards, with no history, and fires
    // the events of a load. Throws TVxError(OpenTooLarge) for more than kMaxFileSize bytes,
    // leaving the document as it was.
    void LoadUntitled(TTempFile image);
    // Writes the document to the file as TVxSaver does (a symlink is written through to the
    // file it names; owner, group, bits and attributes are kept). Never throws; false on
    // failure, and the target keeps its previous contents. Needs no space in the temporary
    // folder: the cache window is streamed out, not flushed.
    bool WriteToFile(const std::string &fileName);
    // Backup (when SaveBackup), write, then FileName and the history. When the document
    // still has the file's size, only overwrites changed it since the load or the last save,
    // and no backup is wanted, only the changed ranges are written, in place and crash-safely
    // (TVxPatchJournal); otherwise the whole file, as TVxSaver does. False when the user
    // declines (to go on without a backup, or to overwrite a file that changed on disk since
    // it was loaded or saved here), or the write fails.
    bool SaveToFile(const std::string &fileName, bool keepUndo);
    // Why the last WriteToFile or SaveToFile failed: the exception (for the program to word)
    // and its what(); null and empty after a success or a declined question.
    std::exception_ptr LastWriteFailure() const { return FLastWriteFailure; }
    std::string LastWriteError() const;
    // The file as it stood on disk right after the last load or save (not Exists for an
    // untitled document). A save to FileName asks before writing when the file no longer
    // matches it; the file watcher of the main window compares against it.
    const TFileIdentity &DiskIdentity() const { return FDiskIdentity; }
    static std::string BackupFileName(const std::string &fileName, int32_t n);
    // Renames fileName into its next generation (rotating when all `count` exist).
    static bool MakeBackup(const std::string &fileName, int32_t count);

    // --- Single-byte edits (inside the window; no file I/O) -------------------------------
    void OverwriteByte(int32_t offset, uint8_t value, bool recordUndo);
    void InsertByte(int32_t offset, uint8_t value, bool recordUndo);
    void DeleteByte(int32_t offset, bool recordUndo);

    // --- Block edits (through the working copy; all-or-nothing) ---------------------------
    void ShiftTail(int32_t offset, int32_t delta);
    void DeleteRange(int32_t a, int32_t b, bool recordUndo);
    void InsertBlock(int32_t offset, const uint8_t *data, int32_t count, bool recordUndo, bool moveCaret);
    void ReplaceRange(int32_t a, int32_t b, const uint8_t *data, int32_t newCount, bool recordUndo, bool moveCaret);
    // Applies a list of splices (ascending, not overlapping, offsets of the document before
    // the call; see TVxSplice) as one edit. When they all lie inside the cache window they are
    // spliced there without file I/O; otherwise the document is rewritten once into a new
    // working copy, so the cost is linear in document size plus splices however many there
    // are. When recording: one record per splice, in order, at its offset in the document as
    // it stands once the splices before it are applied (ukReplaceRange, or ukDeleteRange /
    // ukInsertRange when one side is empty), then a ukGroup record over them when `group`;
    // OnChangeUndo fires once. Ends and clears the selection; the caret is the caller's.
    // All-or-nothing like every block edit; throws std::invalid_argument for a malformed list.
    void ReplaceRanges(const std::vector<TVxSplice> &splices, bool recordUndo, bool group);
    // Rewrites the bytes [offset, offset + count) in place through `transform`, a block at a
    // time (see TVxByteTransform): the size never changes, no tail moves, memory stays at one
    // block. An invertible transform is recorded as its inverse (ukTransform) and keeps no
    // bytes: one read and write of the range. Any other is one ukReplaceRange record holding
    // the old bytes (spilled to the undo store's file beyond its threshold by a kernel copy
    // first). Reports one operation that, unlike other block edits, is cancellable
    // throughout: on TVxCancelled, or any failure, the range gets its old bytes back (the
    // inverse over what was done, or the kept copy) and the exception passes on. The
    // selection and the caret stay where they are. Throws std::out_of_range for a range
    // outside the document; an empty range does nothing.
    void TransformRange(int32_t offset, int32_t count, TVxByteTransform &transform, bool recordUndo);
    // Inserts a whole file's bytes before offset with one kernel copy, recording ukInsertRange.
    // The caret is not moved. Returns the number of bytes inserted (0 for an empty file).
    int32_t InsertFile(int32_t offset, const std::string &fileName, bool recordUndo);

    // --- History ---------------------------------------------------------------------------
    void AddUndo(TVxUndoKind kind, int32_t start, int32_t end, uint8_t oldByte = 0,
                 std::unique_ptr<uint8_t[]> data = nullptr, int32_t count = 0);
    // Undo reverts the newest record and leaves, in the redo list, the record of that
    // revert; Redo reverts that one in turn, putting the change back and its record on the
    // undo list. Both move the caret to the changed place (a group: as one step). Any new
    // recorded edit empties the redo list; so do a load and a save without KeepUndo
    // (ClearUndo). Large blocks travel through the store both ways, never into memory.
    void Undo() { UndoStep(true); }
    void UndoStep(bool moveCaret);
    void Redo();
    void ClearUndo();
    bool Modified() const { return FUndo.Modified(); }
    int32_t UndoCount() const { return FUndo.Count(); }
    int32_t RedoCount() const { return FRedo.Count(); }
    const TVxUndoList &UndoList() const { return FUndo; }
    const TVxUndoList &RedoList() const { return FRedo; }
    // What differs from the file on disk, while only overwrites happened since load or save.
    const TVxChangeSet &Changes() const { return FChanges; }
    // The bytes changed since the last load or save, as the view paints them: every edit,
    // undo and redo applies here, and it empties whenever the history is back at the saved
    // place (see TVxChangedBytes).
    const TVxChangedBytes &ChangedBytes() const { return FChangedBytes; }
    // The bookmarks, moved by every edit, undo and redo as the bytes they mark are (see
    // TVxBookmarks): an undo of an edit that cut or removed some puts them back as they were.
    // A load empties them; the program fills them from its bookmarks file.
    const TVxBookmarks &Bookmarks() const { return FBookmarks; }
    TVxBookmarks &Bookmarks() { return FBookmarks; }
    // Where the history's byte blocks live; its counters are the memory hook of the tests.
    const TVxUndoStore &UndoStore() const { return FStore; }
    TVxUndoStore &UndoStore() { return FStore; }

    // Tells the hooks (FileSizeChanged) and then OnChangeFileSize the current FileSize.
    void AnnounceFileSize();

protected:
    TVxDocumentHooks &Hooks() { return *FHooks; }

private:
    // Writes the bytes of a block edit into the gap at `at` (from a caller's buffer or from an
    // undo block); may throw, and the edit is then rolled back.
    using TFill = std::function<void(int32_t at, TVxProgressSteps *steps)>;
    void InsertFilled(int32_t offset, int32_t count, bool recordUndo, bool moveCaret, const TFill &fill);
    void ReplaceFilled(int32_t a, int32_t b, int32_t newCount, bool recordUndo, bool moveCaret, const TFill &fill);
    // The rewrite loop of TransformRange over [offset, offset + count); on failure, with an
    // inverse, puts back what it rewrote before passing the exception on.
    void RewriteRange(int32_t offset, int32_t count, TVxByteTransform &transform, TVxByteTransform *inverse,
                      TVxProgressSteps *steps);
    // The document becomes the filled working copy `work` of `size` bytes, named fileName
    // (empty: untitled), with no history; the events of a load follow (see the class comment).
    void Replace(TTempFile work, int32_t size, const std::string &fileName, const TFileIdentity &identity,
                 const std::string &diskTarget);
    void AddRecord(TVxUndoKind kind, int32_t start, int32_t end, uint8_t oldByte, TVxUndoBlock data, int32_t count);
    // Where a record goes: a new change onto the undo list (emptying the redo list), the
    // record of an undo onto the redo list, that of a redo back onto the undo list.
    enum class TReplay { None, Undo, Redo };
    void Record(TVxUndoRecord record);
    TVxUndoList &RecordList() { return FReplay == TReplay::Undo ? FRedo : FUndo; }
    void Replay(TReplay how, bool moveCaret);
    // The edit that reverts one record (nothing for a group record itself).
    void Revert(const TVxUndoRecord &r, bool moveCaret);
    // Replays the newest `members` records of a group one by one, as one operation, then
    // records the group over their reverts.
    void ReplayMembers(TReplay how, int32_t members);
    void FireChangeUndo();
    // Empties ChangedBytes when the history stands at the saved place.
    void ForgetChangesIfSaved();
    bool WriteFile(const std::string &fileName, int32_t backups, bool askIfChanged);
    // Whether writing the changed ranges alone saves the document over the file found (the
    // one last loaded or saved here, unchanged, of the document's size) at a fair cost.
    bool PatchWillDo(const TFileIdentity &found) const;
    void UpdateLabel();
    void CheckGrowth(int64_t by) const;
    // The bytes [offset, offset + count) came or went (or were replaced by newCount new
    // ones): the changed bytes and the bookmarks follow. When `recorded`, the bookmarks the
    // edit cut or removed wait for its undo record (Record takes them).
    void BytesInserted(int32_t offset, int32_t count, bool recorded);
    void BytesDeleted(int32_t offset, int32_t count, bool recorded);
    void BytesReplaced(int32_t offset, int32_t oldCount, int32_t newCount, bool recorded);
    void KeepMarks(std::vector<TVxBookmark> before, bool recorded);
    // How much a splice list grows the document; throws std::invalid_argument for a list that
    // is out of order or out of range.
    int64_t SpliceGrowth(const std::vector<TVxSplice> &splices) const;
    // The undo records of applied splices (one each, at its offset once those before it are
    // applied; see ReplaceRanges), `removed` holding the bytes each replaced.
    void RecordSplices(const std::vector<TVxSplice> &splices, std::vector<std::unique_ptr<uint8_t[]>> &removed,
                       bool group);
    // Undo of a group whose members are range replacements left to right (what replace-all
    // records) as one ReplaceRanges pass instead of one tail shift per member.
    bool RevertGroupAtOnce(const TVxUndoList &from, int32_t members);
    // Opens a file to read from, refusing what is not a regular file of at most kMaxFileSize.
    static TFileHandle OpenSource(const std::string &fileName, int32_t &size);
    // Where a block edit reports: the progress, or the group undo that it is a member of.
    TVxProgress *Sink() const { return FMemberSink ? FMemberSink : FProgress; }
    // A block edit in progress: Changing() is true for its lifetime.
    class TChange {
    public:
        TChange(TVxDocument &doc, int64_t total);
        ~TChange();
        TChange(const TChange &) = delete;
        TChange &operator=(const TChange &) = delete;
        TVxProgressSteps Steps;

    private:
        TVxDocument &FDoc;
        bool FWas;
        int FUncaught;
    };

    TVxDocumentHooks *FHooks;
    TVxDocumentQuestions *FQuestions;
    TVxProgress *FProgress = nullptr;
    TVxProgress *FMemberSink = nullptr;
    bool FChanging = false;
    TVxWorkCopy FWork;
    // Before FUndo: the records give their blocks back to the store when they go.
    TVxUndoStore FStore;
    TVxUndoList FUndo;
    TVxUndoList FRedo;
    TReplay FReplay = TReplay::None;
    TVxChangeSet FChanges;
    TVxChangedBytes FChangedBytes;
    TVxBookmarks FBookmarks;
    std::vector<TVxBookmark> FMarksBefore; // of the edit under way, for its undo record
    std::string FFileName;
    std::string FUntitledName = "(untitled)";
    std::exception_ptr FLastWriteFailure;
    TFileIdentity FDiskIdentity;
    // Where FileName's links led at the last load or save: a link planted in the file's
    // place since then is replaced by a save, not followed.
    std::string FDiskTarget;
};
