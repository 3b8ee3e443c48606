#pragma once
// What the document engine needs from the control that shows it. The view implements this;
// the engine never includes view headers. Every method has a harmless default so that the
// engine runs (and is tested) without any view.
//
// The engine calls these on the one user-interface thread, in the orders documented on
// TVxDocument. None of them may call back into a block edit of the engine.

#include <cstdint>
#include <string>

// Message box flags and answers; the values are the customary Windows ones so stored
// settings and peers that pass them around keep their meaning.
enum TVxMsgFlags : unsigned {
    mbOK = 0x00,
    mbOKCancel = 0x01,
    mbYesNoCancel = 0x03,
    mbYesNo = 0x04,
    mbIconStop = 0x10,
    mbIconQuestion = 0x20,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
};
enum TVxMsgResult : int { idOK = 1, idCancel = 2, idYes = 6, idNo = 7 };

class TVxDocumentHooks {
public:
    virtual ~TVxDocumentHooks() = default;

    // "Move the caret to offset X": the view's MoveCaretTo(OffsetToCell(X)), which fires
    // OnMoveCell and scrolls the caret into view.
    virtual void MoveCaretToOffset(int32_t offset) {}
    // End selecting (FSelecting := false) and, when `clear`, drop the selection as well.
    virtual void EndSelection(bool clear) {}
    virtual void RefreshCaret() {}
    // FileSize changed: the grid takes the new row count and end column and updates its
    // scroll bars. Called before OnChangeFileSize fires.
    virtual void RowCountChanged(int32_t rowCount, int endCol) {}
    // A new document was loaded: caret to the first byte's cell, anchor min(0, FileSize - 1),
    // no selection whatever the Shift key says, repaint everything.
    virtual void DocumentReplaced() {}
    // Bytes changed; the view repaints what it shows.
    virtual void ContentChanged() {}
    // Announce a load to every running editor (handled later by each, this one included).
    virtual void PostFileOpened() {}
    // The temporary folder took no more writes: edits stay in the cache window, which
    // cannot move any more (see TVxWorkCopy). Tell the user once, outside of painting.
    virtual void WorkCopyFull(const std::string &message) {}
    // Ask the user. Without a view: the first button's answer (Yes, OK).
    virtual int ShowMessageBox(const std::string &text, unsigned flags)
    {
        return (flags & 0x0F) == mbYesNo || (flags & 0x0F) == mbYesNoCancel ? idYes : idOK;
    }
};
