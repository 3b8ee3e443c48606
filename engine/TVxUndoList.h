#pragma once
// The edit history, oldest first and unlimited, and the saved/modified bookkeeping. The
// document keeps two: what undo reverts, and what redo replays (the records undo left,
// which describe how to revert the revert).
//
// A record describes how to revert one primitive (see TVxDocument::UndoStep). Records of
// single-byte edits carry no block, nor do those of invertible rewrites (ukTransform); range records own the bytes they removed or replaced,
// as a TVxUndoBlock of the document's TVxUndoStore (on the heap or spilled to its scratch
// file). A ukGroup record stands above Count member records and reverts them together.
// Records are plain movable values, so a reverted one can be kept elsewhere.

#include "TVxByteTransform.h"
#include "TVxBookmarks.h"
#include "TVxUndoStore.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum TVxUndoKind : uint8_t {
    ukOverwriteByte = 0,
    ukInsertByte = 1,
    ukDeleteByte = 2,
    ukDeleteRange = 3,
    ukInsertRange = 4,
    ukReplaceRange = 5,
    ukGroup = 6,
    ukTransform = 7,
};

struct TVxUndoRecord {
    TVxUndoKind Kind = ukOverwriteByte;
    uint8_t OldByte = 0;
    int32_t Start = 0;
    int32_t End = 0;
    // ukReplaceRange: bytes in Data; ukGroup: member records below; otherwise 0.
    int32_t Count = 0;
    TVxUndoBlock Data;
    // The bookmarks as they were before this edit cut or removed them; its revert restores
    // them (a group's are on the group record).
    std::vector<TVxBookmark> Bookmarks;
    // ukTransform: what reverts [Start, End] (an invertible TVxByteTransform), no bytes kept.
    std::shared_ptr<TVxByteTransform> Transform;

    // Bytes held in Data: Count for a replacement, the removed range for a deletion.
    int32_t DataSize() const
    {
        if (Kind == ukReplaceRange)
            return Count;
        if (Kind == ukDeleteRange)
            return End - Start + 1;
        return 0;
    }
};

class TVxUndoList {
public:
    int32_t Count() const { return static_cast<int32_t>(FRecords.size()); }
    bool Empty() const { return FRecords.empty(); }
    const TVxUndoRecord &Newest() const { return FRecords.back(); }
    const TVxUndoRecord &At(int32_t i) const { return FRecords[static_cast<size_t>(i)]; }

    // Appends a record of a new change: a saved state that lay beyond the newest record
    // (undone since) can no longer be reached.
    void AddNew(TVxUndoRecord record);
    // Appends a record that a redo brings back (or that an undo leaves in the redo list).
    void Add(TVxUndoRecord record);
    // Room for `extra` more records, so that adding them afterwards cannot fail.
    void Reserve(size_t extra) { FRecords.reserve(FRecords.size() + extra); }
    // Removes the newest record (it has been reverted).
    void RemoveNewest();
    // Releases every record, newest first. The document stays as modified as it was only
    // when a save that kept the history lies elsewhere than here.
    void Clear();

    // Save bookkeeping, as a place in the history: the document is unmodified exactly while
    // the history stands where it stood at the last save (none: the load). A KeepUndo save
    // marks the current place; anything else starts anew at an empty history. Undoing past
    // the saved place, or redoing up to it again, follows.
    void MarkSaved(bool keepUndo);
    void ResetSaveState();
    bool Modified() const { return Count() != FSavedAt; }

    // Bytes held by range records, on the heap and spilled (TVxUndoStore says where).
    int64_t DataBytes() const { return FDataBytes; }

private:
    std::vector<TVxUndoRecord> FRecords;
    // The record count at the saved place; -1 when no history leads back to it.
    int32_t FSavedAt = 0;
    bool FSavedWithUndo = false;
    int64_t FDataBytes = 0;
};
