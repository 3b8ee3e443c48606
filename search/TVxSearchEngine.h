#pragma once
// The search operations of the editor control in their order of events, without the GUI:
// the current search text (TVxSearchText), the scan (TVxSearcher), the start positions
// (TVxSearchBounds) and replacing (TVxReplacer), over one document.
//
//  Search     makes text and flags the current search (shared unless unchanged), then
//             scans for its bytes in the code of SetCodec (TVxTextPattern); the match, when
//             p >= 0, is p .. p + MatchLength() - 1. `hex`: the text is hexadecimal digits
//             (TVxHexText), matched byte for byte. Texts are UTF-8; a text the code cannot
//             carry throws TVxError TextNotEncodable after it became the current search.
//  Find       start and end bound from the caret, the selection and from-top, then Search.
//  FindNext / FindPrev   the current text and flag from the caret or the selection.
//  Replace    with the current ignore-case flag; the find text becomes the current text
//             (unless it gives no bytes: then nothing is searched nor changed). With `hex`
//             both texts are hexadecimal digits; a replacement that gives no bytes is
//             "replace by nothing", one that is not hex changes nothing. Otherwise both
//             texts are written in the code of SetCodec.
//
// The control keeps the caret and the selection: it passes them in (selExtent -1: nothing
// selected) and, on a match, selects it and moves the caret as the result says; it repaints
// after every call, found or not.
//
// Who calls: TVxHexcavator's Search, Find, FindNext, FindPrev, HasSearchText and Replace,
// which the find and replace dialogs and the F3 / Shift+F3 commands use.

#include "TVxReplacer.h"
#include "TVxSearchBounds.h"
#include "TVxSearchText.h"
#include "TVxSearcher.h"
#include "TVxTextCodec.h"

class TVxSearchEngine {
public:
    explicit TVxSearchEngine(TVxDocument &doc, int32_t blockSize = TVxSearcher::kBlockSize);

    TVxSearchText &State() { return FState; }
    const TVxSearchText &State() const { return FState; }
    bool HasSearchText() const { return FState.HasSearchText(); }
    // The code that texts are searched and written in: the column's.
    void SetCodec(const TVxTextCodec &codec) { FCodec = codec; }
    const TVxTextCodec &Codec() const { return FCodec; }
    // The length in bytes of the last match found.
    int32_t MatchLength() const { return FMatchLength; }

    int32_t Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase, bool backward,
                   bool hex = false);
    int32_t Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, int32_t caret,
                 int32_t selAnchor, int32_t selExtent, bool hex = false);
    int32_t FindNext(int32_t caret, int32_t selAnchor, int32_t selExtent);
    int32_t FindPrev(int32_t caret, int32_t selAnchor, int32_t selExtent);
    TVxReplaceResult Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all,
                             bool hex = false);

private:
    TVxSearchPattern PatternOf(const std::string &text, bool ignoreCase, bool hex) const;

    TVxDocument &FDoc;
    TVxTextCodec FCodec;
    int32_t FMatchLength = 0;
    TVxSearchText FState;
    TVxSearcher FSearcher;
    TVxReplacer FReplacer;
};
