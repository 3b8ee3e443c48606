#include "TVxSearchEngine.h"

TVxSearchEngine::TVxSearchEngine(TVxDocument &doc, int32_t blockSize)
    : FDoc(doc), FSearcher(doc, blockSize), FReplacer(doc, blockSize)
{
}

int32_t TVxSearchEngine::Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase,
                                bool backward)
{
    FState.SetSearchText(text, ignoreCase, false);
    return FSearcher.Search(text, start, endBound, ignoreCase, backward);
}

int32_t TVxSearchEngine::Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, int32_t caret,
                              int32_t selAnchor, int32_t selExtent)
{
    const TVxSearchRange r =
        TVxSearchBounds::ForFind(FDoc.FileSize(), caret, selAnchor, selExtent, backward, fromTop);
    return Search(text, r.Start, r.EndBound, ignoreCase, backward);
}

int32_t TVxSearchEngine::FindNext(int32_t caret, int32_t selAnchor, int32_t selExtent)
{
    const TVxSearchRange r = TVxSearchBounds::ForFindNext(FDoc.FileSize(), caret, selAnchor, selExtent);
    // A copy: Search stores the text it is given over the current one.
    const std::string text = FState.SearchText();
    return Search(text, r.Start, r.EndBound, FState.SearchIgnoreCase(), false);
}

int32_t TVxSearchEngine::FindPrev(int32_t caret, int32_t selAnchor, int32_t selExtent)
{
    const TVxSearchRange r = TVxSearchBounds::ForFindPrev(FDoc.FileSize(), caret, selAnchor, selExtent);
    const std::string text = FState.SearchText();
    return Search(text, r.Start, r.EndBound, FState.SearchIgnoreCase(), true);
}

TVxReplaceResult TVxSearchEngine::Replace(int32_t start, const std::string &findText,
                                          const std::string &replaceText, bool all)
{
    if (findText.empty())
        return TVxReplaceResult();
    const bool ignoreCase = FState.SearchIgnoreCase();
    FState.SetSearchText(findText, ignoreCase, false);
    return FReplacer.Replace(start, findText, replaceText, all, ignoreCase);
}
