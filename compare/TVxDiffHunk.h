#pragma once
// One difference between two files: ALength bytes of A from AStart stand where B has
// BLength bytes from BStart. A length of 0 means an insertion into the other side (BLength 0:
// A's bytes are missing in B; ALength 0: B's bytes are missing in A). Everything between two
// hunks is equal, and equally long, in both files.

#include <cstdint>

struct TVxDiffHunk {
    int64_t AStart = 0;
    int64_t ALength = 0;
    int64_t BStart = 0;
    int64_t BLength = 0;

    int64_t AEnd() const { return AStart + ALength; }
    int64_t BEnd() const { return BStart + BLength; }
    bool operator==(const TVxDiffHunk &o) const
    {
        return AStart == o.AStart && ALength == o.ALength && BStart == o.BStart && BLength == o.BLength;
    }
    bool operator!=(const TVxDiffHunk &o) const { return !(*this == o); }
};
