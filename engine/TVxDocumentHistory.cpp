// The history half of TVxDocument: records, undo, redo. Reverting a record is a block or
// single-byte edit of TVxDocument.cpp like any other, recorded into the other list.

#include "TVxDocument.h"

#include <algorithm>
#include <utility>

bool TVxDocument::RevertGroupAtOnce(const TVxUndoList &from, int32_t members)
{
    const int32_t top = from.Count() - 1; // the group record itself
    if (members < 1 || members > top)
        return false;
    // In the current document member i's new bytes sit at its Start, since every later member
    // lies at or after their end; so all reverts are one ascending splice list.
    std::vector<TVxSplice> splices;
    splices.reserve(static_cast<size_t>(members));
    int64_t prevEnd = 0;
    for (int32_t i = top - members; i < top; ++i) {
        const TVxUndoRecord &m = from.At(i);
        // Spilled bytes are not at hand for one pass; those groups go member by member.
        if (m.Data.Spilled())
            return false;
        TVxSplice s;
        s.Offset = m.Start;
        s.Data = m.Data.Bytes();
        if (m.Kind == ukReplaceRange) {
            s.OldCount = m.End - m.Start + 1;
            s.NewCount = m.Count;
        } else if (m.Kind == ukDeleteRange) {
            s.NewCount = m.DataSize();
        } else {
            return false;
        }
        if (s.Offset < prevEnd || s.OldCount < 0 || (s.OldCount == 0 && s.NewCount == 0))
            return false;
        prevEnd = int64_t(s.Offset) + s.OldCount;
        splices.push_back(s);
    }
    if (prevEnd > FileSize())
        return false;
    // Recorded as a group of its own: the revert of the group, for redo (or undo) to replay.
    ReplaceRanges(splices, true, true);
    return true;
}

// ---------------------------------------------------------------------------------------
// History

void TVxDocument::AddUndo(TVxUndoKind kind, int32_t start, int32_t end, uint8_t oldByte,
                          std::unique_ptr<uint8_t[]> data, int32_t count)
{
    TVxUndoRecord shape;
    shape.Kind = kind;
    shape.Start = start;
    shape.End = end;
    shape.Count = count;
    const int32_t size = data ? shape.DataSize() : 0;
    AddRecord(kind, start, end, oldByte, data ? FStore.Adopt(std::move(data), size) : TVxUndoBlock(), count);
}

void TVxDocument::AddRecord(TVxUndoKind kind, int32_t start, int32_t end, uint8_t oldByte, TVxUndoBlock data,
                            int32_t count)
{
    TVxUndoRecord r;
    r.Kind = kind;
    r.Start = start;
    r.End = end;
    r.OldByte = oldByte;
    r.Data = std::move(data);
    r.Count = count;
    Record(std::move(r));
    FireChangeUndo();
}

void TVxDocument::Record(TVxUndoRecord record)
{
    // The bookmarks the edit cut or removed go with it (with the group record of a group).
    record.Bookmarks = std::move(FMarksBefore);
    FMarksBefore.clear();
    switch (FReplay) {
    case TReplay::None:
        FRedo.Clear();
        FUndo.AddNew(std::move(record));
        return;
    case TReplay::Undo:
        FRedo.Add(std::move(record));
        return;
    case TReplay::Redo:
        FUndo.Add(std::move(record));
        return;
    }
}

void TVxDocument::UndoStep(bool moveCaret) { Replay(TReplay::Undo, moveCaret); }

void TVxDocument::Redo() { Replay(TReplay::Redo, true); }

// Reverting a record is an edit like any other, recorded: into the redo list when undoing,
// back into the undo list when redoing. So a redo is the undo of an undo, and large blocks
// take the same kernel-copied way in both directions.
void TVxDocument::Replay(TReplay how, bool moveCaret)
{
    TVxUndoList &from = how == TReplay::Undo ? FUndo : FRedo;
    if (from.Empty())
        return;
    struct TGuard {
        TReplay &State;
        TReplay Was;
        ~TGuard() { State = Was; }
    } guard{FReplay, std::exchange(FReplay, how)};
    const TVxUndoRecord &r = from.Newest();
    FHooks->EndSelection(true);
    if (moveCaret) {
        FHooks->MoveCaretToOffset(r.Start);
        FHooks->RefreshCaret();
    }
    const int32_t groupCount = r.Kind == ukGroup ? r.Count : 0;
    // Before the window moves to the group's offset 0: members spliced inside the window
    // are reverted there without any file I/O.
    if (groupCount > 0 && RevertGroupAtOnce(from, groupCount)) {
        // The bookmarks as each member and then the group found them, newest first, so that
        // the oldest state of each wins.
        for (int32_t i = 0; i <= groupCount; ++i) {
            FBookmarks.Restore(from.Newest().Bookmarks);
            from.RemoveNewest();
        }
        ForgetChangesIfSaved();
        FireChangeUndo();
        return;
    }
    Revert(r, moveCaret);
    // Removed only once reverted: a revert that throws leaves the record for another try.
    std::vector<TVxBookmark> marks = std::move(from.Newest().Bookmarks);
    from.RemoveNewest();
    if (groupCount > 0)
        ReplayMembers(how, groupCount);
    FBookmarks.Restore(marks);
    ForgetChangesIfSaved();
    FireChangeUndo();
}

void TVxDocument::Revert(const TVxUndoRecord &r, bool moveCaret)
{
    // Single-byte reverts work in the window; block reverts flush it themselves, as a step
    // of their progress.
    if (r.Kind == ukOverwriteByte || r.Kind == ukInsertByte || r.Kind == ukDeleteByte)
        FWork.LoadCache(std::min(r.Start, FileSize()));
    const TFill restore = [&](int32_t at, TVxProgressSteps *steps) { FStore.Restore(r.Data, FWork, at, steps); };
    switch (r.Kind) {
    case ukOverwriteByte:
        OverwriteByte(r.Start, r.OldByte, true);
        break;
    case ukInsertByte:
        DeleteByte(r.Start, true);
        break;
    case ukDeleteByte:
        InsertByte(r.Start, r.OldByte, true);
        break;
    case ukDeleteRange:
        InsertFilled(r.Start, r.DataSize(), true, moveCaret, restore);
        break;
    case ukInsertRange:
        DeleteRange(r.Start, r.End, true);
        break;
    case ukReplaceRange:
        ReplaceFilled(r.Start, r.End, r.Count, true, moveCaret, restore);
        break;
    case ukTransform:
        TransformRange(r.Start, r.End - r.Start + 1, *r.Transform, true);
        break;
    case ukGroup:
        break;
    }
}

void TVxDocument::ReplayMembers(TReplay how, int32_t members)
{
    // One operation for the user: each member's progress maps into its share.
    TVxProgressSteps steps(Sink(), members);
    struct TSinkGuard {
        TVxProgress *&Sink;
        TVxProgress *Was;
        ~TSinkGuard() { Sink = Was; }
    } sinkGuard{FMemberSink, FMemberSink};
    for (int32_t i = 0; i < members; ++i) {
        FMemberSink = steps.SubOperation(1);
        Replay(how, false);
    }
    steps.Finish();
    // The members' reverts, newest first, are one step again in the other list.
    TVxUndoRecord g;
    g.Kind = ukGroup;
    g.Count = members;
    Record(std::move(g));
}

void TVxDocument::ClearUndo()
{
    FUndo.Clear();
    FRedo.Clear();
    ForgetChangesIfSaved();
    FireChangeUndo();
}

// Only once a replayed record has left its list does the undo list stand where the history
// is: the revert's own record went in while the reverted one was still there, so the saved
// place is not checked from the edits themselves.
void TVxDocument::ForgetChangesIfSaved()
{
    if (!FUndo.Modified())
        FChangedBytes.Clear();
}
