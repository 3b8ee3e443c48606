#pragma once
// The edit history, oldest first and unlimited, and the saved/modified bookkeeping.
//
// A record describes how to revert one primitive (see TVxDocument::UndoStep). Records of
// single-byte edits carry no block; range records own the bytes they removed or replaced,
// as a TVxUndoBlock of the document's TVxUndoStore (on the heap or spilled to its scratch
// file). A ukGroup record stands above Count member records and reverts them together.
// Records are plain movable values, so a reverted one can be kept elsewhere.

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
};

struct TVxUndoRecord {
    TVxUndoKind Kind = ukOverwriteByte;
    uint8_t OldByte = 0;
    int32_t Start = 0;
    int32_t End = 0;
    // ukReplaceRange: bytes in Data; ukGroup: member records below; otherwise 0.
    int32_t Count = 0;
    TVxUndoBlock Data;

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

    // Appends; after a save that kept the history this counts as a change.
    void Add(TVxUndoRecord record);
    // Room for `extra` more records, so that adding them afterwards cannot fail.
    void Reserve(size_t extra) { FRecords.reserve(FRecords.size() + extra); }
    // Removes the newest record (it has been reverted); counts as a change after a save.
    void RemoveNewest();
    // Releases every record, newest first. The save flags are the caller's business.
    void Clear();

    // Save bookkeeping: KeepUndo saves mark the history as saved; anything else starts anew.
    void MarkSaved(bool keepUndo);
    void ResetSaveState();
    bool Modified() const { return (!FRecords.empty() && !FSavedWithUndo) || FChangedAfterSave; }
    bool SavedWithUndo() const { return FSavedWithUndo; }
    bool ChangedAfterSave() const { return FChangedAfterSave; }

    // Bytes held by range records, on the heap and spilled (TVxUndoStore says where).
    int64_t DataBytes() const { return FDataBytes; }

private:
    void NoteChange();

    std::vector<TVxUndoRecord> FRecords;
    bool FSavedWithUndo = false;
    bool FChangedAfterSave = false;
    int64_t FDataBytes = 0;
};
