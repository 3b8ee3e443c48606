#pragma once
// What the document engine needs from the control that shows it: caret, selection and
// repaint. The view implements this; the engine never includes view headers. Every method
// has a harmless default so that the engine runs (and is tested) without any view. What
// the engine asks or tells the user goes to TVxDocumentQuestions instead.
//
// The engine calls these on the one user-interface thread, in the orders documented on
// TVxDocument. None of them may call back into a block edit of the engine.

#include <cstdint>

class TVxDocumentHooks {
public:
    virtual ~TVxDocumentHooks() = default;

    // "Move the caret to offset X": the view's MoveCaretTo(OffsetToCell(X)), which fires
    // OnMoveCell and scrolls the caret into view.
    virtual void MoveCaretToOffset(int32_t offset) {}
    // End selecting (FSelecting := false) and, when `clear`, drop the selection as well.
    virtual void EndSelection(bool clear) {}
    virtual void RefreshCaret() {}
    // FileSize changed (or is announced after a load): the view derives its rows and end
    // position from the new size and updates its scroll bars. Called before OnChangeFileSize
    // fires.
    virtual void FileSizeChanged(int32_t fileSize) {}
    // A new document was loaded: caret to the first byte's cell, anchor min(0, FileSize - 1),
    // no selection whatever the Shift key says, repaint everything.
    virtual void DocumentReplaced() {}
    // Bytes changed; the view repaints what it shows.
    virtual void ContentChanged() {}
    // Announce a load to every running editor (handled later by each, this one included).
    virtual void PostFileOpened() {}
};
