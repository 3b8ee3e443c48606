#pragma once
// The scan of the search: finds a pattern (TVxSearchPattern: bytes, fold rule, which
// occurrences count) in a document, forward or backward, optionally ignoring the case of the
// Latin letters (TVxCaseFold: Shift-JIS aware, or by the pattern's map).
//
// Contract of Search (offsets signed 32-bit, "not found" -1):
//  - forward: the smallest p with start <= p and p + n - 1 <= endBound;
//  - backward: the largest p with p >= endBound and p + n - 1 <= start (callers pass 0);
//  - offsets outside 0 .. FileSize - 1 are never read: a backward start beyond the last byte
//    counts as the last byte, an empty or inverted range finds nothing, and so does an empty
//    text;
//  - with ignoreCase, every data byte is folded after its own predecessor in the data, the
//    pattern after its own, and then compared exactly (a Map fold needs no predecessor).
//    Every occurrence counts, overlapping ones included, unless the pattern's Accept refuses
//    it: the scan then goes on from the next offset (forward) or the one before (backward).
// The results are those of a byte-by-byte comparison; the tests hold them against one.
//
// How: the document is read in blocks of BlockSize bytes (plus the pattern's length and one
// byte of look-behind for folding) through TVxDocument::ReadInto, which neither moves the
// cache window nor writes; a block is folded at once when case is ignored and scanned with
// TVxMatcher. Cost: one sequential read of the range, with a matcher far below one
// comparison per byte on ordinary data.
//
// Progress: every block read is reported to the document's TVxProgress (cancellable: a
// search only reads), as the share of the range scanned so far; a cancelled scan throws
// TVxCancelled.
//
// Not here: SetSearchText and the start positions (TVxSearchEngine, TVxSearchBounds),
// selecting the match and repainting (the editor control).
//
// Who calls: TVxSearchEngine and TVxReplacer.

#include "TVxDocument.h"
#include "TVxMatcher.h"
#include "TVxSearchPattern.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TVxSearcher {
public:
    static constexpr int32_t kBlockSize = 256 * 1024;

    // blockSize: bytes of candidates per block; small values exist for tests at boundaries.
    explicit TVxSearcher(const TVxDocument &doc, int32_t blockSize = kBlockSize);

    int32_t Search(const TVxSearchPattern &pattern, int32_t start, int32_t endBound, bool ignoreCase, bool backward);
    int32_t Search(const std::string &bytes, int32_t start, int32_t endBound, bool ignoreCase, bool backward)
    {
        return Search(TVxSearchPattern(bytes), start, endBound, ignoreCase, backward);
    }

    // The offsets, in the document as it stands, of the occurrences that a replace-all from
    // `start` replaces: the leftmost one at or after start, then the leftmost one at or after
    // the end of each one found, as if each had been replaced before looking on. Replacing
    // matters only for the first candidate after a match when case is ignored: that
    // candidate's first byte is folded after the byte that will precede it then (the
    // replacement's last byte, or what precedes an empty replacement).
    std::vector<int32_t> FindForReplaceAll(const TVxSearchPattern &pattern, int32_t start, bool ignoreCase,
                                           const std::string &replacement);

private:
    void Begin(const TVxSearchPattern &pattern, bool ignoreCase);
    void FoldInto(const uint8_t *src, uint8_t *dst, size_t count) const;
    // The scans, with the pattern's Accept asked of every occurrence.
    int32_t NextForward(int32_t from, int32_t lastStart);
    int32_t NextBackward(int32_t from, int32_t lowest);
    // The range a scan covers, for its progress: [lo, hi), read from the top when backward.
    void BeginRange(int32_t lo, int64_t hi, bool backward);
    void EndRange();
    // Makes the block hold the candidates from `from` on (at most up to lastStart), or those
    // up to `from` (backward, down to at least lowest).
    void FillForward(int32_t from, int32_t lastStart);
    void FillBackward(int32_t from, int32_t lowest);
    void Fill(int32_t firstCandidate, int32_t end);
    bool Holds(int32_t p) const { return p >= FValid && int64_t(p) + FLength <= FHi; }
    int32_t ScanForward(int32_t from, int32_t lastStart);
    int32_t ScanBackward(int32_t from, int32_t lowest);
    // Occurrence at p when its first byte is folded after `pred` instead of its own predecessor.
    bool MatchesAfter(int32_t p, int pred, int32_t lastStart);
    const uint8_t *Hay() const { return FIgnoreCase ? FFolded.data() : FRaw.data(); }

    const TVxDocument &FDoc;
    const int32_t FBlockSize;
    bool FIgnoreCase = false;
    TVxSearchPattern::TFold FFold = TVxSearchPattern::TFold::ShiftJis;
    std::shared_ptr<const std::array<uint8_t, 256>> FFoldMap;
    std::function<bool(int32_t)> FAccept;
    std::string FPattern; // folded when ignoring case
    int32_t FLength = 0;
    std::unique_ptr<TVxMatcher> FMatcher;
    // The block: document bytes [FLo, FHi); candidates start at FValid (FLo + 1 when the
    // first byte is only there as the look-behind of the second).
    std::vector<uint8_t> FRaw;
    std::vector<uint8_t> FFolded;
    int32_t FLo = 0, FHi = 0, FValid = 0;
    int64_t FRangeLo = 0, FRangeHi = 0;
    bool FRangeBackward = false;
};
