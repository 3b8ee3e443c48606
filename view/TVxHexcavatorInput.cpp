// TVxHexcavator: caret moves, selection, the key map, hexadecimal entry, the mouse, and the
// edits that act at the caret.

#include "TVxHexcavator.h"

#include "TVxCharDecoder.h"
#include "TVxError.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <exception>

namespace {
bool ShiftIsDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }
} // namespace

// ---------------------------------------------------------------------------------------
// Caret and selection

void TVxHexcavator::MoveCaretTo(int col, int32_t row) { MoveCaretImpl(col, row, true); }

void TVxHexcavator::MoveCaretToNoShift(int col, int32_t row) { MoveCaretImpl(col, row, false); }

void TVxHexcavator::MoveCaretImpl(int col, int32_t row, bool shiftSelects)
{
    const TPaintState before = PaintState();
    FHalfByte = false;
    if (row >= FRowCount) {
        row = FRowCount - 1;
    } else if (row <= 0) {
        row = 1;
        if (col == TVxCells::kLastHexCol)
            col = TVxCells::kFirstHexCol;
    }
    // A window that typing made longer or shorter moves the rest of a large document when
    // it leaves: do that here, as a block edit with its progress, not in the paint to come.
    if (!Changing() && LongFlushBefore(std::clamp(CellToOffset(col, row), 0, FileSize())))
        AsBlockEdit([this] {
            try {
                FlushCache();
            } catch (const std::exception &) {
                // A full temporary folder: the window stays, and the reader that next moves
                // it pins it and tells the user, as without this early flush.
            }
        });
    if (shiftSelects && ShiftIsDown())
        FSelecting = true;

    const int32_t last = FileSize() - 1;
    if (FSelecting) {
        // The extent never reaches the end position: past the last byte it is the last byte.
        TVxCell extent{col, row};
        if (row == FRowCount - 1 && col >= FEndCol - 1)
            extent = FEndCol - 1 >= TVxCells::kFirstHexCol ? TVxCell{FEndCol - 1, row}
                                                          : TVxCell{TVxCells::kLastHexCol, row - 1};
        FSelExtent = std::min(CellToOffset(extent.Col, extent.Row), last);
    } else {
        FSelAnchor = std::min(CellToOffset(col, row), last);
        FSelExtent = -1;
    }

    if ((col != FCol || row != FRow) && SelectCell(col, row)) {
        FCol = col;
        FRow = row;
        ScrollCellIntoView(col, row);
    }
    // Also when the grid refused the target: without a selection the anchor stays on the
    // caret, so that a paste lands where the caret is.
    SyncAnchor();
    UpdateScrollBars();
    RepaintChangedSince(before);
    if (OnMoveCell)
        OnMoveCell();
}

void TVxHexcavator::SyncAnchor()
{
    if (FSelExtent == -1)
        FSelAnchor = std::min(GetCaretOffset(), FileSize() - 1);
}

TVxCell TVxHexcavator::PrevCell(TVxCell cell)
{
    if (cell.Col >= TVxCells::kFirstHexCol + 1)
        return TVxCell{cell.Col - 1, cell.Row};
    return TVxCell{TVxCells::kLastHexCol, cell.Row - 1};
}

TVxCell TVxHexcavator::NextCell(TVxCell cell)
{
    if (cell.Col <= TVxCells::kLastHexCol - 1)
        return TVxCell{cell.Col + 1, cell.Row};
    return TVxCell{TVxCells::kFirstHexCol, cell.Row + 1};
}

bool TVxHexcavator::IsSelected(int32_t offset) const
{
    if (FSelExtent == -1)
        return false;
    return offset >= std::min(FSelAnchor, FSelExtent) && offset <= std::max(FSelAnchor, FSelExtent);
}

int32_t TVxHexcavator::SelectionLength() const
{
    return FSelExtent == -1 ? 0 : std::abs(FSelExtent - FSelAnchor) + 1;
}

void TVxHexcavator::GetSelectionRange(int32_t &start, int32_t &end) const
{
    if (SelectionLength() == 0) {
        start = end = -1;
        return;
    }
    start = std::min(FSelAnchor, FSelExtent);
    end = std::max(FSelAnchor, FSelExtent);
}

uint8_t TVxHexcavator::HexDigitValue(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return uint8_t(c - u'0');
    if (c >= u'A' && c <= u'F')
        return uint8_t(c - u'A' + 10);
    if (c >= u'a' && c <= u'f')
        return uint8_t(c - u'a' + 10);
    return 255;
}

bool TVxHexcavator::GotoOffset(int32_t offset)
{
    if (offset < 0 || offset > FileSize())
        return false;
    MoveCaretTo(TVxCells::OffsetToCell(offset));
    return true;
}

void TVxHexcavator::SetSelection(int32_t anchor, int32_t extent)
{
    FSelAnchor = anchor;
    FSelExtent = extent;
    FSelecting = extent != -1;
    SyncAnchor();
    if (OnMoveCell)
        OnMoveCell();
    RepaintAll();
}

void TVxHexcavator::OffsetJump()
{
    const int32_t offset = GetCaretOffset();
    if (offset >= FileSize())
        return;
    const uint8_t value = ByteAt(offset);
    const int64_t target = int64_t(offset) + (value == 0 ? 1 : value);
    if (target < FileSize())
        MoveCaretTo(TVxCells::OffsetToCell(int32_t(target)));
}

// ---------------------------------------------------------------------------------------
// Edits at the caret

void TVxHexcavator::WriteByteAtCell(int col, int32_t row, uint8_t value, bool recordUndo, bool forceOverwrite)
{
    if (!TVxCells::IsHexCol(col) || row < 1)
        return;
    const int32_t offset = CellToOffset(col, row);
    if (offset < 0 || offset > FileSize())
        return;
    if (offset == FileSize() || (!forceOverwrite && FInsertMode && !FHalfByte))
        InsertByte(offset, value, recordUndo);
    else
        OverwriteByte(offset, value, recordUndo);
}

void TVxHexcavator::DeleteByteAtCell(int col, int32_t row, bool recordUndo)
{
    if (!TVxCells::IsHexCol(col) || row < 1)
        return;
    DeleteByte(CellToOffset(col, row), recordUndo);
}

void TVxHexcavator::DeleteAtCaret()
{
    if (FReadOnlyMode)
        return;
    if (FSelExtent != -1) {
        DeleteRange(FSelAnchor, FSelExtent, true);
    } else if (!IsEndCell(FCol, FRow)) {
        DeleteByteAtCell(FCol, FRow, true);
        RefreshCaret();
    }
}

bool TVxHexcavator::CanDelete() const { return !FReadOnlyMode && (FSelExtent != -1 || !IsEndCell(FCol, FRow)); }

void TVxHexcavator::AsBlockEdit(const std::function<void()> &edit)
{
    if (RunBlockEdit)
        RunBlockEdit(edit);
    else
        edit();
}

// ---------------------------------------------------------------------------------------
// Clipboard keys

int32_t TVxHexcavator::PasteOffset() const
{
    return FSelAnchor == FileSize() - 1 ? FSelAnchor + 1 : FSelAnchor;
}

void TVxHexcavator::CopyToClipboard()
{
    if (SelectionLength() > 0 && ClipboardCopy)
        ClipboardCopy();
}

void TVxHexcavator::CutToClipboard()
{
    if (!FReadOnlyMode && SelectionLength() > 0 && ClipboardCut)
        ClipboardCut();
}

void TVxHexcavator::PasteFromClipboard()
{
    if (!FReadOnlyMode && ClipboardPaste)
        ClipboardPaste(PasteOffset());
}

// ---------------------------------------------------------------------------------------
// Keyboard

bool TVxHexcavator::event(QEvent *e)
{
    // Tab and Shift+Tab move the caret; they never take the focus elsewhere.
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}

void TVxHexcavator::keyPressEvent(QKeyEvent *e)
{
    try {
        if (HandleKey(e)) {
            e->accept();
            return;
        }
        const Qt::KeyboardModifiers mods = e->modifiers();
        if (!e->text().isEmpty() && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            if (FTextSide)
                TypeText(e->text());
            else
                TypeChar(e->text().at(0));
            e->accept();
            return;
        }
    } catch (const std::exception &ex) {
        ShowError(ex);
        return;
    }
    e->ignore();
}

bool TVxHexcavator::HandleKey(QKeyEvent *e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if (ctrl && HandleClipboardKey(e->key()))
        return true;
    bool shiftSelects = true;
    const int key = MovementKey(e->key(), shift, shiftSelects);
    TVxCell target;
    if (MoveKeyTarget(key, ctrl, target)) {
        FSelecting = false;
        MoveCaretImpl(target.Col, target.Row, shiftSelects);
        return true;
    }
    switch (key) {
    case Qt::Key_F6:
        SetTextSide(!FTextSide);
        return true;
    case Qt::Key_Insert:
        SetInsertMode(!FInsertMode);
        return true;
    case Qt::Key_Delete:
        if (ctrl)
            AsBlockEdit([this] { DeleteAtCaret(); });
        return ctrl;
    default:
        return false;
    }
}

bool TVxHexcavator::HandleClipboardKey(int key)
{
    switch (key) {
    case Qt::Key_C:
        CopyToClipboard();
        return true;
    case Qt::Key_X:
        CutToClipboard();
        return true;
    case Qt::Key_V:
        PasteFromClipboard();
        return true;
    default:
        return false;
    }
}

int TVxHexcavator::MovementKey(int key, bool shift, bool &shiftSelects)
{
    // Tab and Space move without selecting, whatever Shift says.
    shiftSelects = false;
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && shift))
        return Qt::Key_Left;
    if (key == Qt::Key_Tab)
        return Qt::Key_Right;
    if (key == Qt::Key_Space)
        return shift ? Qt::Key_PageUp : Qt::Key_PageDown;
    shiftSelects = true;
    return key;
}

bool TVxHexcavator::MoveKeyTarget(int key, bool ctrl, TVxCell &target) const
{
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        target = PrevCell(CurrentCell());
        return true;
    case Qt::Key_Right:
        target = NextCell(CurrentCell());
        return true;
    case Qt::Key_PageUp:
        target = {FCol, std::max(FRow - VisibleRowCount(), 1)};
        return true;
    case Qt::Key_PageDown:
        target = {FCol, int32_t(std::min<int64_t>(int64_t(FRow) + VisibleRowCount(), FRowCount - 1))};
        return true;
    case Qt::Key_End:
        if (ctrl)
            target = {FEndCol, FRowCount - 1};
        else if (FRow == FRowCount - 1)
            target = {FEndCol, FRow};
        else
            target = {TVxCells::kLastHexCol, FRow};
        return true;
    case Qt::Key_Home:
        target = {TVxCells::kFirstHexCol, ctrl ? 1 : FRow};
        return true;
    case Qt::Key_Up:
        target = {FCol, FRow - 1};
        return true;
    case Qt::Key_Down:
        target = {FCol, FRow + 1};
        return true;
    default:
        return false;
    }
}

// Two hexadecimal digits make one byte: the first writes 0x0N with an undo record
// (inserted or overwriting), the second rewrites that byte in place unrecorded and moves on.
void TVxHexcavator::TypeChar(QChar ch)
{
    if (OnKeyPress)
        OnKeyPress(ch);
    if (FReadOnlyMode)
        return;
    ch = ch.toUpper();
    const uint8_t digit = HexDigitValue(ch);
    if (digit > 15)
        return;
    if (FHalfByte) {
        FSelecting = false;
        const uint8_t value = uint8_t(16 * HexDigitValue(FFirstNibble) + digit);
        WriteByteAtCell(FCol, FRow, value, false, false);
        FHalfByte = false;
        // The advance belongs to typing, not navigation: Shift (held for an upper-case
        // digit) must not turn it into a selection.
        const TVxCell next = NextCell(CurrentCell());
        MoveCaretToNoShift(next.Col, next.Row);
    } else {
        FFirstNibble = ch;
        FSelecting = false;
        if (FSelExtent == -1) {
            WriteByteAtCell(FCol, FRow, digit, true, false);
        } else {
            int32_t lo = 0, hi = 0;
            GetSelectionRange(lo, hi);
            AsBlockEdit([&] { ReplaceRange(lo, hi, &digit, 1, true, false); });
            const TVxCell at = TVxCells::OffsetToCell(lo);
            MoveCaretToNoShift(at.Col, at.Row);
        }
        FHalfByte = true;
    }
    RepaintAll();
}

void TVxHexcavator::SetTextSide(bool value)
{
    if (FTextSide == value)
        return;
    FTextSide = value;
    FHalfByte = false;
    // An input method may compose Japanese only where text goes.
    setAttribute(Qt::WA_InputMethodEnabled, value);
    RefreshCaret();
}

// A character is written as a typed byte pair is: inserted in insert mode (or at the end),
// else over the bytes it needs, the document growing when they run past its end; over a
// selection it replaces the selection. A character the code cannot carry, or any control
// character, writes nothing.
void TVxHexcavator::TypeText(const QString &text)
{
    if (FReadOnlyMode)
        return;
    const std::u16string chars = text.toStdU16String();
    for (size_t i = 0; i < chars.size(); ++i) {
        const size_t n = i + 1 < chars.size() && QChar::isHighSurrogate(chars[i]) ? 2 : 1;
        const std::u16string one = chars.substr(i, n);
        i += n - 1;
        if (one[0] < 0x20 || one[0] == 0x7F)
            continue;
        std::string bytes;
        try {
            int32_t lo = GetCaretOffset(), hi = 0;
            if (FSelExtent != -1)
                GetSelectionRange(lo, hi);
            bytes = TextBytesAt(one, lo);
        } catch (const TVxError &) {
            continue; // a character the code lacks: nothing, like a key that is no digit
        }
        if (bytes.empty())
            continue;
        const auto *written = reinterpret_cast<const uint8_t *>(bytes.data());
        const auto count = int32_t(bytes.size());
        FSelecting = false;
        AsBlockEdit([&] {
            if (FSelExtent != -1) {
                int32_t lo = 0, hi = 0;
                GetSelectionRange(lo, hi);
                ReplaceRange(lo, hi, written, count, true, true);
                return;
            }
            const int32_t at = GetCaretOffset();
            if (FInsertMode || at == FileSize())
                InsertBlock(at, written, count, true, true);
            else
                ReplaceRange(at, at + count - 1, written, count, true, true);
        });
    }
    RepaintAll();
}

std::string TVxHexcavator::TextBytesAt(const std::u16string &text, int32_t offset)
{
    const int32_t from = std::max(0, offset - FCodec.Decoder().Lookback());
    const std::vector<uint8_t> before = ReadBytes(from, offset - from);
    return FCodec.EncodeAtOrThrow(text, before.data(), before.size());
}

void TVxHexcavator::inputMethodEvent(QInputMethodEvent *e)
{
    if (FTextSide && !e->commitString().isEmpty()) {
        try {
            TypeText(e->commitString());
        } catch (const std::exception &ex) {
            ShowError(ex);
        }
    }
    e->accept();
}

QVariant TVxHexcavator::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return CaretRect();
    return QAbstractScrollArea::inputMethodQuery(query);
}

// ---------------------------------------------------------------------------------------
// Mouse

void TVxHexcavator::mousePressEvent(QMouseEvent *e)
{
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton)
        return;
    FMouseSelecting = true;
    FSelecting = false;
    const int col = MouseCoord(e->position().toPoint()).Col;
    if (col == TVxCells::kCharCol || TVxCells::IsHexCol(col))
        SetTextSide(col == TVxCells::kCharCol);
    MoveCaretTo(MouseToCell(e->position().toPoint()));
}

void TVxHexcavator::mouseMoveEvent(QMouseEvent *e)
{
    if (!FMouseSelecting || FileSize() <= 0)
        return;
    FSelecting = true;
    MoveCaretTo(MouseToCell(e->position().toPoint()));
}

void TVxHexcavator::mouseReleaseEvent(QMouseEvent *e)
{
    FMouseSelecting = false;
    FSelecting = false;
    QAbstractScrollArea::mouseReleaseEvent(e);
}

// A double click is not a second press: it neither moves the caret nor restarts a drag.
void TVxHexcavator::mouseDoubleClickEvent(QMouseEvent *e) { e->accept(); }
