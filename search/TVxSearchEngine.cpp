#include "TVxSearchEngine.h"

#include "TVxHexText.h"
#include "TVxTextPattern.h"

#include <optional>

TVxSearchEngine::TVxSearchEngine(TVxDocument &doc, int32_t blockSize)
    : FDoc(doc), FSearcher(doc, blockSize), FReplacer(doc, blockSize)
{
}

TVxSearchPattern TVxSearchEngine::PatternOf(const std::string &text, bool ignoreCase, bool hex) const
{
    if (hex)
        return TVxSearchPattern(TVxHexText::Parse(text).value_or(std::string()));
    return TVxTextPattern::Make(FCodec, TVxTextCodec::FromUtf8(text), ignoreCase, FDoc);
}

int32_t TVxSearchEngine::Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase,
                                bool backward, bool hex)
{
    FState.SetSearchText(text, ignoreCase, false, hex);
    const TVxSearchPattern pattern = PatternOf(text, ignoreCase, hex);
    FMatchLength = int32_t(pattern.Bytes.size());
    return FSearcher.Search(pattern, start, endBound, FState.FoldsCase(), backward);
}

int32_t TVxSearchEngine::Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, int32_t caret,
                              int32_t selAnchor, int32_t selExtent, bool hex)
{
    const TVxSearchRange r =
        TVxSearchBounds::ForFind(FDoc.FileSize(), caret, selAnchor, selExtent, backward, fromTop);
    return Search(text, r.Start, r.EndBound, ignoreCase, backward, hex);
}

int32_t TVxSearchEngine::FindNext(int32_t caret, int32_t selAnchor, int32_t selExtent)
{
    const TVxSearchRange r = TVxSearchBounds::ForFindNext(FDoc.FileSize(), caret, selAnchor, selExtent);
    // A copy: Search stores the text it is given over the current one.
    const std::string text = FState.SearchText();
    return Search(text, r.Start, r.EndBound, FState.SearchIgnoreCase(), false, FState.SearchHex());
}

int32_t TVxSearchEngine::FindPrev(int32_t caret, int32_t selAnchor, int32_t selExtent)
{
    const TVxSearchRange r = TVxSearchBounds::ForFindPrev(FDoc.FileSize(), caret, selAnchor, selExtent);
    const std::string text = FState.SearchText();
    return Search(text, r.Start, r.EndBound, FState.SearchIgnoreCase(), true, FState.SearchHex());
}

TVxReplaceResult TVxSearchEngine::Replace(int32_t start, const std::string &findText,
                                          const std::string &replaceText, bool all, bool hex)
{
    const std::optional<std::string> replacement =
        hex ? TVxHexText::Parse(replaceText) : FCodec.EncodeOrThrow(TVxTextCodec::FromUtf8(replaceText));
    const std::optional<std::string> bytes = hex ? TVxHexText::Parse(findText) : findText;
    if (!replacement || !bytes || bytes->empty())
        return TVxReplaceResult();
    FState.SetSearchText(findText, FState.SearchIgnoreCase(), false, hex);
    const TVxSearchPattern pattern = PatternOf(findText, FState.SearchIgnoreCase(), hex);
    FMatchLength = int32_t(pattern.Bytes.size());
    return FReplacer.Replace(start, pattern, *replacement, all, FState.FoldsCase());
}
