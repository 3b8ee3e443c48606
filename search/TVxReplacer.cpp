#include "TVxReplacer.h"

TVxReplacer::TVxReplacer(TVxDocument &doc, int32_t blockSize) : FDoc(doc), FSearcher(doc, blockSize) {}

TVxReplaceResult TVxReplacer::Replace(int32_t start, const TVxSearchPattern &find, const std::string &replaceText,
                                      bool all, bool ignoreCase)
{
    TVxReplaceResult result;
    const std::string &findText = find.Bytes;
    if (findText.empty())
        return result;
    const auto *data = reinterpret_cast<const uint8_t *>(replaceText.data());
    const int32_t m = static_cast<int32_t>(findText.size());
    const int32_t k = static_cast<int32_t>(replaceText.size());

    if (!all) {
        const int32_t p = FSearcher.Search(find, start, FDoc.FileSize() - 1, ignoreCase, false);
        if (p < 0)
            return result;
        FDoc.ReplaceRanges({TVxSplice{p, m, data, k}}, true, false);
        result.Count = 1;
        if (k > 0) {
            result.SelAnchor = p;
            result.SelExtent = p + k - 1;
            result.Caret = p + k - 1;
        } else {
            // Nothing left to select: the caret goes where the match was, onto the byte
            // that followed it (or the end position).
            result.Caret = p;
        }
        return result;
    }

    const std::vector<int32_t> found = FSearcher.FindForReplaceAll(find, start, ignoreCase, replaceText);
    if (found.empty())
        return result;
    std::vector<TVxSplice> splices;
    splices.reserve(found.size());
    for (int32_t p : found)
        splices.push_back(TVxSplice{p, m, data, k});
    FDoc.ReplaceRanges(splices, true, true);
    result.Count = static_cast<int32_t>(found.size());
    return result;
}
