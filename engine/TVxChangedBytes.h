#pragma once
// The bytes changed since the last load or save, for the view to paint in a colour of their
// own: sorted, disjoint, half-open [First, End) ranges in one flat vector, merged when they
// touch, so memory grows with the number of separate changed places, not with bytes.
//
// Design: nothing is recomputed. TVxDocument applies every primitive edit here (the user's
// and those that undo and redo replay, since a revert is an edit like any other):
// an overwrite adds its range, an insert shifts the ranges after it and adds the inserted
// bytes, a delete removes its range and shifts what follows. When the history stands at the
// saved place again (the document is no longer Modified()), the document clears the set.
// So undoing back to the saved state shows nothing changed, redoing from there brings back
// exactly the ranges of the redone edits, and undoing past the saved state marks what the
// undo rewrote. A byte that an undo puts back while the history is elsewhere than the saved
// place stays marked: it was rewritten since the save, and knowing that it holds the saved
// value again would need the saved bytes.
//
// Cost: Overwrite O(log n) to find the place plus O(n) for a vector insert in the worst
// case (a memmove of 8-byte pairs); Insert and Delete O(n) for the shift of the ranges after
// the edit; Intersecting O(log n + k) for k ranges returned. n is the number of ranges.
//
// Who calls: TVxDocument (edits, load, save, history); the view asks Intersecting once per
// paint for the visible rows.

#include <cstdint>
#include <vector>

class TVxChangedBytes {
public:
    struct TRange {
        int32_t First = 0;
        int32_t End = 0; // one past the last changed byte
        bool operator==(const TRange &o) const { return First == o.First && End == o.End; }
    };

    // Nothing changed (after a load, a save, or when the history is back at the save).
    void Clear() { FRanges.clear(); }
    // count bytes at offset were rewritten in place.
    void Overwrite(int32_t offset, int32_t count);
    // count new bytes now stand at offset; everything from offset on moved up by count.
    void Insert(int32_t offset, int32_t count);
    // The count bytes at offset are gone; everything after them moved down by count.
    void Delete(int32_t offset, int32_t count);
    // oldCount bytes at offset replaced by newCount new ones.
    void Replace(int32_t offset, int32_t oldCount, int32_t newCount);

    bool Empty() const { return FRanges.empty(); }
    bool Contains(int32_t offset) const;
    // Ascending ranges that share a byte with [first, end), clipped to it.
    std::vector<TRange> Intersecting(int32_t first, int32_t end) const;
    const std::vector<TRange> &Ranges() const { return FRanges; }

private:
    // First range whose End is above offset (the one holding or following offset).
    std::vector<TRange>::iterator After(int32_t offset);
    std::vector<TRange> FRanges;
};
