#pragma once
// The byte ranges of the document that differ from the file on disk, kept while that is cheap
// to know: since the last load or save only overwrites happened (the size never changed).
// Any edit that inserts or removes bytes makes the set unknown, and so does a set that grows
// past kMaxRanges separate ranges (memory stays flat); a save then writes the whole file.
//
// Ranges are half-open [first, end), merged when they touch. Cost: O(log ranges) per Add.
//
// Who calls: TVxDocument records every edit here; its save reads Ranges() to patch in place.

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

class TVxChangeSet {
public:
    static constexpr size_t kMaxRanges = 65536;

    // The document equals the file: known and empty.
    void Reset();
    // From now on unknown, until the next Reset.
    void Invalidate();
    void Add(int32_t offset, int32_t count);

    bool Known() const { return FKnown; }
    bool Empty() const { return FRanges.empty(); }
    int64_t Bytes() const { return FBytes; }
    // Ascending (first, end) pairs.
    std::vector<std::pair<int32_t, int32_t>> Ranges() const;

private:
    bool FKnown = false;
    std::map<int32_t, int32_t> FRanges; // first -> end
    int64_t FBytes = 0;
};
