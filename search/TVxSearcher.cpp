#include "TVxSearcher.h"

#include "TVxCaseFold.h"

#include <algorithm>

TVxSearcher::TVxSearcher(const TVxDocument &doc, int32_t blockSize)
    : FDoc(doc), FBlockSize(std::max<int32_t>(blockSize, 1))
{
}

void TVxSearcher::FoldInto(const uint8_t *src, uint8_t *dst, size_t count) const
{
    if (FFold == TVxSearchPattern::TFold::ShiftJis)
        TVxCaseFold::FoldBlock(src, dst, count, TVxCaseFold::kNoPredecessor);
    else if (FFoldMap)
        TVxCaseFold::FoldMap(src, dst, count, FFoldMap->data());
    else
        TVxCaseFold::FoldLatin(src, dst, count);
}

void TVxSearcher::Begin(const TVxSearchPattern &pattern, bool ignoreCase)
{
    FIgnoreCase = ignoreCase;
    FFold = pattern.Fold;
    FFoldMap = pattern.FoldMap;
    FAccept = pattern.Accept;
    FPattern = pattern.Bytes;
    if (ignoreCase && !FPattern.empty())
        FoldInto(reinterpret_cast<const uint8_t *>(pattern.Bytes.data()), reinterpret_cast<uint8_t *>(FPattern.data()),
                 FPattern.size());
    FLength = static_cast<int32_t>(std::min<size_t>(FPattern.size(), INT32_MAX));
    FMatcher = std::make_unique<TVxMatcher>(FPattern);
    // The document may have changed since the last call: nothing of the old block is kept.
    FLo = FHi = FValid = 0;
}

void TVxSearcher::Fill(int32_t firstCandidate, int32_t end)
{
    // One byte of look-behind so that the first candidate's byte folds after its predecessor.
    const int32_t lo = firstCandidate > 0 ? firstCandidate - 1 : 0;
    const size_t count = static_cast<size_t>(end - lo);
    if (FRaw.size() < count)
        FRaw.resize(count);
    const int32_t got = FDoc.ReadInto(lo, FRaw.data(), static_cast<int32_t>(count));
    if (FIgnoreCase) {
        if (FFolded.size() < count)
            FFolded.resize(count);
        FoldInto(FRaw.data(), FFolded.data(), static_cast<size_t>(got));
    }
    FLo = lo;
    FHi = lo + got;
    FValid = firstCandidate;
    if (TVxProgress *progress = FDoc.Progress()) {
        const int64_t total = FRangeHi - FRangeLo;
        const int64_t done = FRangeBackward ? FRangeHi - lo : int64_t(FHi) - FRangeLo;
        progress->Report(std::clamp<int64_t>(done, 0, total), total, true);
    }
}

void TVxSearcher::BeginRange(int32_t lo, int64_t hi, bool backward)
{
    FRangeLo = lo;
    FRangeHi = std::max<int64_t>(hi, lo);
    FRangeBackward = backward;
}

void TVxSearcher::EndRange()
{
    if (TVxProgress *progress = FDoc.Progress())
        progress->Report(FRangeHi - FRangeLo, FRangeHi - FRangeLo, true);
}

void TVxSearcher::FillForward(int32_t from, int32_t lastStart)
{
    const int64_t end = std::min<int64_t>(int64_t(lastStart) + FLength, int64_t(from) + FBlockSize + FLength - 1);
    Fill(from, static_cast<int32_t>(end));
}

void TVxSearcher::FillBackward(int32_t from, int32_t lowest)
{
    const int32_t first = static_cast<int32_t>(std::max<int64_t>(lowest, int64_t(from) - FBlockSize + 1));
    Fill(first, from + FLength);
}

int32_t TVxSearcher::ScanForward(int32_t from, int32_t lastStart)
{
    while (from <= lastStart) {
        if (!Holds(from))
            FillForward(from, lastStart);
        const int32_t candHi = std::min(lastStart, FHi - FLength);
        ptrdiff_t i = FMatcher->FindFirst(Hay() + (from - FLo), static_cast<size_t>(candHi - from + FLength));
        if (i >= 0)
            return from + static_cast<int32_t>(i);
        from = candHi + 1;
    }
    return -1;
}

int32_t TVxSearcher::ScanBackward(int32_t from, int32_t lowest)
{
    while (from >= lowest) {
        if (!Holds(from))
            FillBackward(from, lowest);
        const int32_t candLo = std::max(lowest, FValid);
        ptrdiff_t i = FMatcher->FindLast(Hay() + (candLo - FLo), static_cast<size_t>(from - candLo + FLength));
        if (i >= 0)
            return candLo + static_cast<int32_t>(i);
        from = candLo - 1;
    }
    return -1;
}

int32_t TVxSearcher::NextForward(int32_t from, int32_t lastStart)
{
    for (;;) {
        const int32_t p = ScanForward(from, lastStart);
        if (p < 0 || !FAccept || FAccept(p))
            return p;
        from = p + 1;
    }
}

int32_t TVxSearcher::NextBackward(int32_t from, int32_t lowest)
{
    for (;;) {
        const int32_t p = ScanBackward(from, lowest);
        if (p < 0 || !FAccept || FAccept(p))
            return p;
        from = p - 1;
    }
}

int32_t TVxSearcher::Search(const TVxSearchPattern &pattern, int32_t start, int32_t endBound, bool ignoreCase,
                            bool backward)
{
    const int32_t size = FDoc.FileSize();
    if (pattern.Bytes.empty() || pattern.Bytes.size() > size_t(size))
        return -1;
    Begin(pattern, ignoreCase);
    if (!backward) {
        const int32_t from = std::max(start, 0);
        const int64_t lastStart = int64_t(std::min(endBound, size - 1)) - FLength + 1;
        if (from > lastStart)
            return -1;
        BeginRange(from, lastStart + FLength, false);
        const int32_t p = NextForward(from, static_cast<int32_t>(lastStart));
        EndRange();
        return p;
    }
    const int32_t lowest = std::max(endBound, 0);
    const int64_t from = int64_t(std::min(start, size - 1)) - FLength + 1;
    if (from < lowest)
        return -1;
    BeginRange(lowest, from + FLength, true);
    const int32_t p = NextBackward(static_cast<int32_t>(from), lowest);
    EndRange();
    return p;
}

bool TVxSearcher::MatchesAfter(int32_t p, int pred, int32_t lastStart)
{
    if (!Holds(p))
        FillForward(p, lastStart);
    const uint8_t *raw = FRaw.data() + (p - FLo);
    const uint8_t *hay = Hay() + (p - FLo);
    const auto *pat = reinterpret_cast<const uint8_t *>(FPattern.data());
    // Bytes after the first keep their own predecessors, so the folded block holds them.
    return TVxCaseFold::Fold(raw[0], pred) == pat[0] &&
           std::equal(hay + 1, hay + FLength, pat + 1);
}

std::vector<int32_t> TVxSearcher::FindForReplaceAll(const TVxSearchPattern &pattern, int32_t start,
                                                    bool ignoreCase, const std::string &replacement)
{
    std::vector<int32_t> found;
    const int32_t size = FDoc.FileSize();
    if (pattern.Bytes.empty() || pattern.Bytes.size() > size_t(size))
        return found;
    Begin(pattern, ignoreCase);
    // Only the Shift-JIS fold looks at the byte before a candidate.
    const bool foldsAfterPredecessor = FIgnoreCase && FFold == TVxSearchPattern::TFold::ShiftJis;
    const int32_t lastStart = size - FLength;
    int32_t pos = std::max(start, 0);
    // The byte that precedes `pos` in the document as it will be once the matches before
    // pos are replaced; it matters only when ignoring case.
    int pred = TVxCaseFold::kNoPredecessor;
    bool afterMatch = false;
    int32_t prevEnd = pos;
    BeginRange(pos, size, false);
    while (pos <= lastStart) {
        int32_t p;
        if (afterMatch && foldsAfterPredecessor)
            p = MatchesAfter(pos, pred, lastStart) && (!FAccept || FAccept(pos)) ? pos : NextForward(pos + 1, lastStart);
        else
            p = NextForward(pos, lastStart);
        if (p < 0)
            break;
        found.push_back(p);
        if (foldsAfterPredecessor) {
            if (!replacement.empty())
                pred = static_cast<uint8_t>(replacement.back());
            else if (!afterMatch || p > prevEnd)
                pred = p > 0 ? FRaw[static_cast<size_t>(p - 1 - FLo)] : TVxCaseFold::kNoPredecessor;
            // else: the match follows the previous one directly; what preceded that stays.
        }
        prevEnd = pos = p + FLength;
        afterMatch = true;
    }
    EndRange();
    return found;
}
