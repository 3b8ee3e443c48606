#pragma once
// The editor control: a hexadecimal grid over a TVxDocument.
//
// One object is both the document engine (inherited publicly from TVxDocument, so the host
// calls LoadFromFile, SaveToFile, Undo, ReplaceRange ... on it directly) and the visible
// grid: 20 columns (address, spacer, 16 byte cells, spacer, character column) over one row
// per 16 bytes, drawn by the control itself inside a QAbstractScrollArea. The engine talks
// back through the private TVxDocumentHooks implementation below.
//
// Caret and selection. The caret is the current cell (column 2..17, row 1..RowCount-1, on
// the last row at most EndCol); its offset runs from 0 to FileSize, FileSize being the end
// position where typed bytes are appended. The selection is SelAnchor..SelExtent (both
// inclusive, in either order, never the end position); SelExtent -1 means none, and then
// SelAnchor is the caret offset clamped to FileSize - 1 (-1 in an empty document).
// MoveCaretTo is the one caret move that keys, mouse, search, jump, undo and paste use.
//
// Properties follow one rule: a setter returns at once when the value is unchanged,
// otherwise applies it, repaints what changed and raises its event. Events are
// std::function members raised only when assigned; the engine contributes OnFileOpen,
// OnChangeFileSize and OnChangeUndo. The control holds no words for the user: what the
// engine asks or tells goes from the document to the host's TVxDocumentQuestions
// (SetQuestions), and failures of key edits to OnError.
//
// Who calls what: the main window owns one control (VxHexcavator1), sets the properties
// from its settings, assigns the events and the clipboard members, and calls the public
// operations below. Everything runs on the GUI thread.
//
// Files: this one (construction, properties, engine hooks, focus, painting entry),
// TVxHexcavatorInput.cpp (caret, selection, keys, mouse, typing, caret-dependent edits),
// TVxHexcavatorScroll.cpp (scroll bars and wheel). Pixel layout is TVxGridGeometry, drawing
// is TVxCellPainter (which sees the control only through the TVxPaintSnapshot each paint
// fills), text shaping for the painter is TVxGlyphCache.

#include "TVxCells.h"
#include "TVxDocument.h"
#include "TVxGridGeometry.h"
#include "TVxTextCodec.h"
#include "TVxTextFilter.h"
#include "TVxMarkSource.h"
#include "TVxViewStyle.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QTimer>
#include <QVariant>

#include <exception>
#include <functional>
#include <memory>
#include <string>

class QInputMethodEvent;
class TVxCellPainter;
class TVxCharTable;
class TVxGlyphCache;

class TVxHexcavator : public QAbstractScrollArea, public TVxDocument, private TVxDocumentHooks {
public:
    explicit TVxHexcavator(QWidget *parent = nullptr);
    ~TVxHexcavator() override;

    // --- Events (besides TVxDocument's OnFileOpen, OnChangeFileSize, OnChangeUndo) ------
    TNotifyEvent OnMoveCell;           // after every caret move and SetSelection
    TNotifyEvent OnChangeEditMode;     // InsertMode changed
    TNotifyEvent OnChangeReadOnlyMode; // ReadOnlyMode changed
    TNotifyEvent OnFileOpenAnyInstance; // raised by instance messaging, not by the grid
    TNotifyEvent OnChangeSearchText;    // raised by instance messaging, not by the grid
    TVxEvent<int> OnZoom;               // Ctrl+wheel: notches, positive away from the user
    // Tells every running instance, this one included, that a file was loaded; each then
    // raises OnFileOpenAnyInstance. Unassigned, this control raises it for itself alone.
    std::function<void()> AnnounceFileOpened;
    // A typed character before it is taken as a hexadecimal digit; the handler may change it.
    std::function<void(QChar &ch)> OnKeyPress;
    // Block edits that keys start here (Ctrl+Delete of a selection, a digit typed over one)
    // run through this when assigned, so that the window can hold them in its busy state
    // (and show their progress); unassigned they run directly.
    std::function<void(const std::function<void()> &edit)> RunBlockEdit;

    // --- Clipboard keys ------------------------------------------------------------------
    // Ctrl+C, Ctrl+X and Ctrl+V end in CopyToClipboard, CutToClipboard and
    // PasteFromClipboard. Transfer itself is not this control's business yet: those call
    // the members below when assigned. Copy and cut only run with a selection, cut and
    // paste not in read-only mode; paste gets PasteOffset().
    std::function<void()> ClipboardCopy;
    std::function<void()> ClipboardCut;
    std::function<void(int32_t offset)> ClipboardPaste;
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    // Where a paste lands: SelAnchor, or SelAnchor + 1 when that is the last byte (so a
    // caret on the last byte or the end position appends).
    int32_t PasteOffset() const;

    // --- Properties ------------------------------------------------------------------------
    // How the grid looks, as one value. SetViewStyle applies a changed style at once: one
    // repaint, one relayout only when HideOffsetHeader or HideByteView changed (the caret
    // keeps its cell), the caret rebuilt when its colour changed; an equal style does
    // nothing. The single-field properties below read and write this same style.
    const TVxViewStyle &ViewStyle() const { return FStyle; }
    void SetViewStyle(const TVxViewStyle &style);

    bool HideByteView() const { return FStyle.HideByteView; }
    void SetHideByteView(bool value);
    bool HideOffsetHeader() const { return FStyle.HideOffsetHeader; }
    void SetHideOffsetHeader(bool value);
    QColor CaretColor() const { return FStyle.CaretColor; }
    void SetCaretColor(const QColor &value);
    TVxCharCode CharCode() const { return FCharCode; }
    // A built-in code; ccTable keeps the table that SetCharTable gave, or is ASCII without one.
    void SetCharCode(TVxCharCode value);
    // Shows the column through a character table: CharCode becomes ccTable.
    void SetCharTable(std::shared_ptr<const TVxCharTable> table);
    // The column's code, for everything that turns texts into bytes or bytes into texts.
    const TVxTextCodec &Codec() const { return FCodec; }
    // The bytes of `text` in the column's code for writing at `offset`, fitted to the bytes
    // before it (TVxTextCodec::EncodeAt); throws TVxError TextNotEncodable.
    std::string TextBytesAt(const std::u16string &text, int32_t offset);
    QColor AddressColor() const { return FStyle.AddressColor; }
    void SetAddressColor(const QColor &value);
    QColor AddressBGColor() const { return FStyle.AddressBGColor; }
    void SetAddressBGColor(const QColor &value);
    QColor CurrentLineColor() const { return FStyle.CurrentLineColor; }
    void SetCurrentLineColor(const QColor &value);
    QColor CurrentLineBGColor() const { return FStyle.CurrentLineBGColor; }
    void SetCurrentLineBGColor(const QColor &value);
    QColor SelectColor() const { return FStyle.SelectColor; }
    void SetSelectColor(const QColor &value);
    QColor SelectBGColor() const { return FStyle.SelectBGColor; }
    void SetSelectBGColor(const QColor &value);
    TVxColumnBytes ColumnBytes() const { return FColumnBytes; }
    void SetColumnBytes(TVxColumnBytes value);
    bool ReadOnlyMode() const { return FReadOnlyMode; }
    void SetReadOnlyMode(bool value);
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool value);
    // Whether typing goes to the character column: a click there chooses it, a click on a
    // hexadecimal cell the hexadecimal side, F6 switches. Characters typed on the text side
    // are written in the column's code (one undo record a character); the caret stands on
    // the byte in the character column then. Tab keeps moving to the next byte.
    bool TextSide() const { return FTextSide; }
    void SetTextSide(bool value);
    bool ViewUnderLine() const { return FStyle.ViewUnderLine; }
    void SetViewUnderLine(bool value);
    QColor UnderLineColor() const { return FStyle.UnderLineColor; }
    void SetUnderLineColor(const QColor &value);
    QColor ChangedColor() const { return FStyle.ChangedColor; }
    void SetChangedColor(const QColor &value);
    QColor MarkBGColor() const { return FStyle.MarkBGColor; }
    void SetMarkBGColor(const QColor &value);
    // Bytes painted on MarkBGColor and gaps marked with a bar (a compare's differences);
    // null for none. The source outlives its use here or is set back to null first; after
    // its marks change, MarksChanged repaints.
    void SetMarks(const TVxMarkSource *marks);
    void MarksChanged();
    // Text colour of ordinary cells and background of ordinary cells and spacers.
    QColor FontColor() const { return FStyle.FontColor; }
    void SetFontColor(const QColor &value);
    QColor Color() const { return FStyle.Color; }
    void SetColor(const QColor &value);
    // Kept for the settings file; Qt always paints through a back buffer.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    // The font is QWidget's: setFont() relays out the grid and rebuilds the caret.

    // --- Layout ----------------------------------------------------------------------------
    // Measures the font (FCharWidth from "W", the row height from a long sample text), sets
    // every column width and row height, then UpdateScrollBars. Also runs when the document's
    // last address needs another digit.
    void UpdateLayout();
    const TVxGridGeometry &Geometry() const { return FGeometry; }
    // The control's width that shows every column, the character column included, beside a
    // vertical scroll bar and inside the frame, for any document (eight-digit addresses too).
    int WholeGridWidth() const;
    int CharWidth() const { return FGeometry.CharWidth(); }
    int DefaultRowHeight() const { return FGeometry.DefaultRowHeight(); }
    int ColWidth(int col) const { return FGeometry.ColWidth(col); }
    int RowHeight(int32_t row) const { return FGeometry.RowHeight(row); }

    // --- Grid ------------------------------------------------------------------------------
    static int32_t CellToOffset(int col, int32_t row) { return TVxCells::CellToOffset(col, row); }
    static TVxCell OffsetToCell(int32_t offset) { return TVxCells::OffsetToCell(offset); }
    int32_t RowCount() const { return FRowCount; }
    int EndCol() const { return FEndCol; }
    int Col() const { return FCol; }        // the caret's column
    int32_t Row() const { return FRow; }    // the caret's row
    TVxCell CurrentCell() const { return TVxCell{FCol, FRow}; }
    // Whether the caret may stand on the cell: rows 1..RowCount-1, columns 2..17, on the
    // last row no further than EndCol.
    bool SelectCell(int col, int32_t row) const;
    // Cell rectangle in viewport coordinates; empty when the cell is scrolled out of view.
    QRect CellRect(int col, int32_t row) const;
    // The grid coordinate under a viewport point; -1 for a coordinate over no cell.
    TVxCell MouseCoord(const QPoint &pos) const;
    // Where a press or drag at a viewport point puts the caret (the character column maps
    // to the byte under the pointer).
    TVxCell MouseToCell(const QPoint &pos) const;

    // --- Caret and selection -----------------------------------------------------------------
    void MoveCaretTo(int col, int32_t row);
    void MoveCaretTo(TVxCell cell) { MoveCaretTo(cell.Col, cell.Row); }
    // Places the drawn caret on the current cell (hidden while out of view) and repaints the
    // visible rows. Only acts while the control has the focus.
    void RefreshCaret() override;
    static TVxCell PrevCell(TVxCell cell);
    static TVxCell NextCell(TVxCell cell);
    bool IsSelected(int32_t offset) const;
    int32_t SelectionLength() const;
    // Ordered selection, or (-1, -1) when nothing is selected.
    void GetSelectionRange(int32_t &start, int32_t &end) const;
    bool IsEndCell(int col, int32_t row) const { return row == FRowCount - 1 && col == FEndCol; }
    static uint8_t HexDigitValue(QChar ch);
    int32_t GetCaretOffset() const { return CellToOffset(FCol, FRow); }
    // Moves the caret to 0 <= offset <= FileSize; false (nothing changed) outside.
    bool GotoOffset(int32_t offset);
    // Sets the selection as given (extent -1: none); selecting continues while an extent is
    // set, so a following caret move extends it. Raises OnMoveCell, repaints.
    void SetSelection(int32_t anchor, int32_t extent);
    // Jumps forward by the value of the byte under the caret (by one for 0), when the target
    // lies inside the document.
    void OffsetJump();
    int32_t SelAnchor() const { return FSelAnchor; }
    int32_t SelExtent() const { return FSelExtent; }
    bool Selecting() const { return FSelecting; }
    void SetSelecting(bool value) { FSelecting = value; }
    bool HalfByte() const { return FHalfByte; }
    // Whether the drawn caret is currently shown (focused, not scrolled away).
    bool CaretShown() const { return FCaretShown; }
    // The caret's rectangle in viewport coordinates (block or bar); empty while hidden.
    QRect CaretRect() const;

    // --- Caret-dependent edits -------------------------------------------------------------
    // Typing entry: inserts (insert mode before the second digit, or at the end position)
    // or overwrites the byte of a hex cell; other cells are ignored.
    void WriteByteAtCell(int col, int32_t row, uint8_t value, bool recordUndo, bool forceOverwrite);
    void DeleteByteAtCell(int col, int32_t row, bool recordUndo);
    // The Delete command: the selection, else the byte under the caret (not at the end
    // position); nothing in read-only mode.
    void DeleteAtCaret();
    bool CanDelete() const;

    // --- Text of the character column --------------------------------------------------------
    // FilterText of ReadBytes(offset, count) with CharCode, line breaks not kept.
    std::string GetRowText(int32_t offset, int32_t count);

    // --- Scrolling ---------------------------------------------------------------------------
    int32_t TopRow() const { return FTopRow; }
    int LeftCol() const { return FLeftCol; }
    void SetTopRow(int32_t row);
    void SetLeftCol(int col);
    int32_t VisibleRowCount() const;
    int VisibleColCount() const;
    int32_t ClampTopRow(int32_t row) const;
    int ClampLeftCol(int col) const;
    void UpdateScrollBars();

    // An edit started by a key failed (the document is as it was): the host words and shows
    // the exception. Unassigned, a message box shows what() itself.
    std::function<void(const std::exception &e)> OnError;

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // TVxDocumentHooks
    void MoveCaretToOffset(int32_t offset) override;
    void EndSelection(bool clear) override;
    // Rows and the end column follow the size (TVxCells).
    void FileSizeChanged(int32_t fileSize) override;
    void DocumentReplaced() override;
    void ContentChanged() override;
    // Posted to this instance (the other instances hear of it through their own messaging):
    // OnFileOpenAnyInstance fires from the event loop, after the load has finished.
    void PostFileOpened() override;

    void ShowError(const std::exception &e);

    // Input (TVxHexcavatorInput.cpp)
    bool HandleKey(QKeyEvent *e);
    // Ctrl+C, Ctrl+X, Ctrl+V; false for any other key.
    bool HandleClipboardKey(int key);
    // Tab, Shift+Tab and (Shift+)Space as the arrow or page key they move like; those never
    // select (shiftSelects false). Any other key is returned as it is.
    static int MovementKey(int key, bool shift, bool &shiftSelects);
    // Where a movement key takes the caret; false for a key that moves nothing.
    bool MoveKeyTarget(int key, bool ctrl, TVxCell &target) const;
    void TypeChar(QChar ch);
    // A text typed on the text side (a key's text, or what an input method commits).
    void TypeText(const QString &text);
    void inputMethodEvent(QInputMethodEvent *e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void AsBlockEdit(const std::function<void()> &edit);
    // MoveCaretTo with the live Shift test left out: moves that Shift must not turn into a
    // selection (Tab, Space, the advance after a typed digit, the engine's moves).
    void MoveCaretToNoShift(int col, int32_t row);
    void MoveCaretImpl(int col, int32_t row, bool shiftSelects);
    void SyncAnchor();
    void RepaintAll();
    // A property that is one field of the style: set through SetViewStyle.
    template <class T> void SetStyleField(T TVxViewStyle::*field, const T &value)
    {
        TVxViewStyle style = FStyle;
        style.*field = value;
        SetViewStyle(style);
    }

    // What a caret move can change on screen. Repainting only the rows that differ keeps a
    // held arrow key from repainting the whole window on every step.
    struct TPaintState {
        int32_t TopRow, Row, SelLo, SelHi;
        int LeftCol, Col;
    };
    TPaintState PaintState() const;
    void RepaintChangedSince(const TPaintState &before);
    void RepaintRows(int32_t first, int32_t last);

    // Caret drawing
    void SetCaretVisible(bool visible);
    void BuildCaret();
    void BlinkCaret();
    void ScrollCellIntoView(int col, int32_t row);

    // Scrolling (TVxHexcavatorScroll.cpp)
    void OnScrollAction(Qt::Orientation bar, int action);

    TVxGridGeometry FGeometry;
    std::unique_ptr<TVxGlyphCache> FGlyphs;
    std::unique_ptr<TVxCellPainter> FPainter;

    // Grid state
    int32_t FRowCount = 2;
    int FEndCol = TVxCells::kFirstHexCol;
    int FCol = TVxCells::kFirstHexCol;
    int32_t FRow = 1;
    int32_t FTopRow = 1;
    int FLeftCol = TVxCells::kFirstHexCol;
    bool FSyncingBars = false;
    int FWheelRemainder = 0;

    // Caret and selection
    int32_t FSelAnchor = -1;
    int32_t FSelExtent = -1;
    bool FSelecting = false;
    bool FMouseSelecting = false;
    bool FHalfByte = false;
    QChar FFirstNibble;
    bool FCaretShown = false;  // focused and the caret cell is in view
    bool FCaretBuilt = false;  // between focus in and focus out
    bool FCaretPhase = true;   // blink phase: drawn or not
    QTimer FBlinkTimer;

    // Properties
    TVxViewStyle FStyle;
    const TVxMarkSource *FMarks = nullptr;
    TVxCharCode FCharCode = ccASCII;
    TVxTextCodec FCodec;
    TVxColumnBytes FColumnBytes = cb1byte;
    bool FReadOnlyMode = false;
    bool FInsertMode = false;
    bool FTextSide = false;
    bool FDoubleBuffered = false;
};
