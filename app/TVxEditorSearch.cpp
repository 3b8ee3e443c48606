#include "TVxEditorSearch.h"

#include "TVxHexcavator.h"

TVxEditorSearch::TVxEditorSearch(TVxHexcavator &editor) : FEditor(editor), FEngine(editor) {}

void TVxEditorSearch::SetSearchText(const std::string &text, bool ignoreCase)
{
    FEngine.State().SetSearchText(text, ignoreCase, false);
}

// A match is selected with the caret on its first byte; the caret move recomputes the extent,
// so the selection is set again after it.
void TVxEditorSearch::Show(int32_t match, int32_t length, bool select)
{
    if (match >= 0 && select) {
        FEditor.SetSelection(match, match + length - 1);
        FEditor.MoveCaretTo(TVxHexcavator::OffsetToCell(match));
        FEditor.SetSelection(match, match + length - 1);
        FEditor.RefreshCaret();
    }
    FEditor.viewport()->update();
}

int32_t TVxEditorSearch::Search(const std::string &text, int32_t start, int32_t endBound, bool ignoreCase,
                                bool backward, bool select)
{
    const int32_t p = FEngine.Search(text, start, endBound, ignoreCase, backward);
    Show(p, static_cast<int32_t>(text.size()), select);
    return p;
}

int32_t TVxEditorSearch::Find(const std::string &text, bool ignoreCase, bool backward, bool fromTop, bool select)
{
    const int32_t p = FEngine.Find(text, ignoreCase, backward, fromTop, FEditor.GetCaretOffset(), FEditor.SelAnchor(),
                                   FEditor.SelExtent());
    Show(p, static_cast<int32_t>(text.size()), select);
    return p;
}

int32_t TVxEditorSearch::FindNext()
{
    const int32_t p = FEngine.FindNext(FEditor.GetCaretOffset(), FEditor.SelAnchor(), FEditor.SelExtent());
    Show(p, static_cast<int32_t>(SearchText().size()), true);
    return p;
}

int32_t TVxEditorSearch::FindPrev()
{
    const int32_t p = FEngine.FindPrev(FEditor.GetCaretOffset(), FEditor.SelAnchor(), FEditor.SelExtent());
    Show(p, static_cast<int32_t>(SearchText().size()), true);
    return p;
}

int32_t TVxEditorSearch::Replace(int32_t start, const std::string &findText, const std::string &replaceText, bool all)
{
    const TVxReplaceResult r = FEngine.Replace(start, findText, replaceText, all);
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
