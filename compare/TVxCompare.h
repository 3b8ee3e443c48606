#pragma once
// Comparing two files, the entry point of the compare view: A is the edited document
// (TVxDocumentSource), B another file (TVxFileSource), and the result a TVxDiffList whose
// queries drive the two panes (next/previous difference, facing offsets, painting).
//
//   Bytes    offset facing offset (TVxByteCompare): what changed in place; insertions shift
//            everything after them.
//   Aligned  inserted and deleted bytes found (TVxAlignedCompare): changes up to 4 MiB long,
//            and the rest stays aligned after them.
//
// Both run in one forward pass over both files with flat memory, report progress and can be
// cancelled (TVxCompareOptions); a cancelled Run throws TVxCancelled and returns nothing, so
// the result the caller holds stays as it was. I/O errors come as std::system_error.
//
// Who calls: the program's compare command; hexbench.

#include "TVxByteSource.h"
#include "TVxCompareOptions.h"
#include "TVxDiffList.h"

class TVxCompare {
public:
    enum class TMode { Bytes, Aligned };

    static TVxDiffList Run(TMode mode, TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options = {});
};
