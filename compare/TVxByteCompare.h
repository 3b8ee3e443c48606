#pragma once
// Compare byte by byte: offset i of A faces offset i of B. Each maximal run of differing
// offsets is one hunk of equal lengths; when the files differ in length, the longer one's
// tail is one more hunk with length 0 on the shorter side (a differing run that reaches the
// shorter file's end becomes part of it).
//
// How: both files are read in blocks of Options.Block bytes (4 MiB) and scanned with
// TVxByteRuns, memcmp over equal stretches. Cost: one sequential read of both files; memory
// two blocks plus the hunks (at most Options.MaxHunks, after which the compare stops and the
// list says Truncated). Progress and cancellation as TVxCompareOptions says.
//
// Who calls: TVxCompare.

#include "TVxByteSource.h"
#include "TVxCompareOptions.h"
#include "TVxDiffList.h"

class TVxByteCompare {
public:
    static TVxDiffList Run(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options);
};
