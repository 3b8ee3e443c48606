#include "TVxEditorSearch.h"

#include "TVxHexcavator.h"

TVxEditorSearch::TVxEditorSearch(TVxHexcavator &editor) : FEditor(editor), FEngine(editor) {}

void TVxEditorSearch::SetSearchText(const std::string &text, bool ignoreCase, bool hex)
{
    FEngine.State().SetSearchText(text, ignoreCase, false, hex);
}

// A match is selected with the caret on its first byte; the caret move recomputes the extent,
// so the selection is set again after it.
void TVxEditorSearch::Show(int32_t match, bool select)
{
    const int32_t length = FEngine.MatchLength();
    if (match >= 0 && select) {
        FEditor.SetSelection(match, match + length - 1);
        FEditor.MoveCaretTo(TVxHexcavator::OffsetToCell(match));
        FEditor.SetSelection(match, match + length - 1);
        FEditor.RefreshCaret();
    }
    FEditor.viewport()->update();
}

int32_t TVxEditorSearch::Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase,
                                bool backward, bool select, bool hex)
{
    FEngine.SetCodec(FEditor.Codec());
    const int32_t p = FEngine.Search(text, start, endBound, ignoreCase, backward, hex);
    Show(p, select);
    return p;
}

int32_t TVxEditorSearch::Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, bool select,
                              bool hex)
{
    FEngine.SetCodec(FEditor.Codec());
    const int32_t p = FEngine.Find(text, ignoreCase, backward, fromTop, FEditor.GetCaretOffset(), FEditor.SelAnchor(),
                                   FEditor.SelExtent(), hex);
    Show(p, select);
    return p;
}

int32_t TVxEditorSearch::FindNext()
{
    FEngine.SetCodec(FEditor.Codec());
    const int32_t p = FEngine.FindNext(FEditor.GetCaretOffset(), FEditor.SelAnchor(), FEditor.SelExtent());
    Show(p, true);
    return p;
}

int32_t TVxEditorSearch::FindPrev()
{
    FEngine.SetCodec(FEditor.Codec());
    const int32_t p = FEngine.FindPrev(FEditor.GetCaretOffset(), FEditor.SelAnchor(), FEditor.SelExtent());
    Show(p, true);
    return p;
}

int32_t TVxEditorSearch::Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all,
                                 bool hex)
{
    FEngine.SetCodec(FEditor.Codec());
    const TVxReplaceResult r = FEngine.Replace(start, findText, replaceText, all, hex);
    if (r.Caret >= 0) {
        if (r.SelExtent >= 0) {
            FEditor.SetSelection(r.SelAnchor, r.SelExtent);
            FEditor.MoveCaretTo(TVxHexcavator::OffsetToCell(r.Caret));
            FEditor.SetSelection(r.SelAnchor, r.SelExtent);
        } else {
            FEditor.SetSelection(r.Caret, -1);
            FEditor.GotoOffset(r.Caret);
        }
        FEditor.RefreshCaret();
    }
    FEditor.viewport()->update();
    return r.Count;
}
