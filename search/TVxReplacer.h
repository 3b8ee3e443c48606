#pragma once
// Replacing: the next occurrence of a find text at or after a start offset, or every
// occurrence from there to the end, by a replacement of any length (empty included).
//
// Single: the first occurrence p at or after start (TVxSearcher, forward, to FileSize - 1)
// gives way to the replacement, inside the cache window when the match lies there (no file
// I/O), else by one pass over the document; undo gets one record (ukReplaceRange over the new bytes,
// ukDeleteRange when the replacement is empty). The result asks the control to select the
// replacement and put the caret on its last byte; after an empty replacement it asks for no
// selection and the caret on the byte that followed the removed match (offset p).
//
// All: the occurrences are collected left to right, each search resuming directly after the
// previous match as if it had been replaced already (TVxSearcher::FindForReplaceAll), so an
// inserted replacement is never searched again. They are then applied as one
// TVxDocument::ReplaceRanges: spliced inside the cache window when they all lie there,
// otherwise by one pass over the document into a new working copy. Cost O(document + matches);
// undo gets one record per occurrence, in order, then ukGroup with their count, so one undo
// step takes back all of them. Caret and selection are left to the control (the selection is
// cleared; a caret beyond the new end belongs on the end position).
//
// Failures: nothing found returns 0 and changes nothing, undo history included. Errors throw
// (document limit of 2147483647 bytes, file errors) and leave the document as it was.
//
// Who calls: TVxSearchEngine::Replace, for the editor control and its replace dialog.

#include "TVxDocument.h"
#include "TVxSearcher.h"

#include <cstdint>
#include <string>

struct TVxReplaceResult {
    int32_t Count = 0;
    // What the control shows afterwards; -1 leaves it alone (replace-all, nothing found) or,
    // for SelAnchor/SelExtent, means nothing selected.
    int32_t SelAnchor = -1;
    int32_t SelExtent = -1;
    int32_t Caret = -1;
};

class TVxReplacer {
public:
    explicit TVxReplacer(TVxDocument &doc, int32_t blockSize = TVxSearcher::kBlockSize);

    TVxReplaceResult Replace(int32_t start, const TVxSearchPattern &find, const std::string &replaceText, bool all,
                             bool ignoreCase);
    TVxReplaceResult Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all,
                             bool ignoreCase)
    {
        return Replace(start, TVxSearchPattern(findText), replaceText, all, ignoreCase);
    }

private:
    TVxDocument &FDoc;
    TVxSearcher FSearcher;
};
