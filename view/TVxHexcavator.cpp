#include "TVxHexcavator.h"
#include "TVxFontFallbacks.h"
#include "TVxMessageBox.h"

#include "TVxCellPainter.h"
#include "TVxGlyphCache.h"
#include "TVxPaintSnapshot.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTimer>

#include <algorithm>

namespace {
// The row height is measured on every character a cell can show, so that no glyph of the
// face is cut at the top or bottom.
const char kSampleText[] = " 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The widest address of `digits` digits in this font: every digit the font's widest one.
int WidestAddressWidth(const QFontMetrics &fm, int digits)
{
    QChar widest = QLatin1Char('0');
    for (QChar c : QStringLiteral("0123456789ABCDEF"))
        if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest))
            widest = c;
    return fm.horizontalAdvance(QString(digits, widest) + QLatin1Char(':'));
}
} // namespace

TVxHexcavator::TVxHexcavator(QWidget *parent) : QAbstractScrollArea(parent), TVxDocument(nullptr)
{
    // The hooks base is complete only now; the engine has not called it yet.
    SetHooks(this);

    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Every pixel is painted by the cell painter; erasing first would only flicker.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::IBeamCursor);

    FBlinkTimer.setTimerType(Qt::CoarseTimer);
    QObject::connect(&FBlinkTimer, &QTimer::timeout, [this] { BlinkCaret(); });
    QObject::connect(verticalScrollBar(), &QAbstractSlider::actionTriggered,
                     [this](int action) { OnScrollAction(Qt::Vertical, action); });
    QObject::connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered,
                     [this](int action) { OnScrollAction(Qt::Horizontal, action); });

    TVxFontFallbacks::Install();
    QFont font(QStringLiteral("FixedSys"));
    font.setPointSize(14);
    // Where no FixedSys is installed, a monospace face takes its place; every size below
    // follows whatever face is measured.
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    setFont(font);

    LoadCache(0);
    UpdateLayout();
    AnnounceFileSize();
}

TVxHexcavator::~TVxHexcavator()
{
    // Nothing the engine does while it is torn down may reach a half-destroyed view.
    SetHooks(nullptr);
}

// ---------------------------------------------------------------------------------------
// Properties

void TVxHexcavator::SetViewStyle(const TVxViewStyle &style)
{
    if (FStyle == style)
        return;
    const TVxViewStyle before = FStyle;
    FStyle = style;
    if (before.LayoutDiffers(style))
        UpdateLayout();
    // With the header row shown or hidden every row moves: the caret keeps its cell.
    const bool headerChanged = before.HideOffsetHeader != style.HideOffsetHeader;
    if (headerChanged)
        MoveCaretTo(FCol, FRow);
    const bool caretChanged = before.CaretColor != style.CaretColor;
    if (caretChanged)
        BuildCaret();
    if (headerChanged || caretChanged)
        RefreshCaret();
    // Update requests of the steps above and this one merge into one paint.
    RepaintAll();
}

void TVxHexcavator::SetHideByteView(bool value) { SetStyleField(&TVxViewStyle::HideByteView, value); }
void TVxHexcavator::SetHideOffsetHeader(bool value) { SetStyleField(&TVxViewStyle::HideOffsetHeader, value); }
void TVxHexcavator::SetViewUnderLine(bool value) { SetStyleField(&TVxViewStyle::ViewUnderLine, value); }
void TVxHexcavator::SetCaretColor(const QColor &value) { SetStyleField(&TVxViewStyle::CaretColor, value); }
void TVxHexcavator::SetAddressColor(const QColor &value) { SetStyleField(&TVxViewStyle::AddressColor, value); }
void TVxHexcavator::SetAddressBGColor(const QColor &value) { SetStyleField(&TVxViewStyle::AddressBGColor, value); }
void TVxHexcavator::SetCurrentLineColor(const QColor &value) { SetStyleField(&TVxViewStyle::CurrentLineColor, value); }
void TVxHexcavator::SetCurrentLineBGColor(const QColor &value)
{
    SetStyleField(&TVxViewStyle::CurrentLineBGColor, value);
}
void TVxHexcavator::SetSelectColor(const QColor &value) { SetStyleField(&TVxViewStyle::SelectColor, value); }
void TVxHexcavator::SetSelectBGColor(const QColor &value) { SetStyleField(&TVxViewStyle::SelectBGColor, value); }
void TVxHexcavator::SetUnderLineColor(const QColor &value) { SetStyleField(&TVxViewStyle::UnderLineColor, value); }
void TVxHexcavator::SetChangedColor(const QColor &value) { SetStyleField(&TVxViewStyle::ChangedColor, value); }
void TVxHexcavator::SetMarkBGColor(const QColor &value) { SetStyleField(&TVxViewStyle::MarkBGColor, value); }

void TVxHexcavator::SetMarks(const TVxMarkSource *marks)
{
    FMarks = marks;
    RepaintAll();
}

void TVxHexcavator::MarksChanged() { RepaintAll(); }
void TVxHexcavator::SetFontColor(const QColor &value) { SetStyleField(&TVxViewStyle::FontColor, value); }
void TVxHexcavator::SetColor(const QColor &value) { SetStyleField(&TVxViewStyle::Color, value); }

void TVxHexcavator::SetCharCode(TVxCharCode value)
{
    if (FCharCode == value)
        return;
    FCharCode = value;
    if (value != ccTable || !FCodec.Table())
        FCodec = TVxTextCodec(value);
    LoadCache(std::min(GetCaretOffset(), std::max(0, FileSize() - 1)));
    RepaintAll();
}

void TVxHexcavator::SetCharTable(std::shared_ptr<const TVxCharTable> table)
{
    FCodec = TVxTextCodec(std::move(table));
    FCharCode = ccTable;
    LoadCache(std::min(GetCaretOffset(), std::max(0, FileSize() - 1)));
    RepaintAll();
}

void TVxHexcavator::SetColumnBytes(TVxColumnBytes value)
{
    if (FColumnBytes == value)
        return;
    FColumnBytes = value;
    UpdateLayout();
}

void TVxHexcavator::SetReadOnlyMode(bool value)
{
    if (FReadOnlyMode == value)
        return;
    FReadOnlyMode = value;
    BuildCaret();
    RefreshCaret();
    if (OnChangeReadOnlyMode)
        OnChangeReadOnlyMode();
}

void TVxHexcavator::SetInsertMode(bool value)
{
    if (FInsertMode == value)
        return;
    FInsertMode = value;
    BuildCaret();
    RefreshCaret();
    if (OnChangeEditMode)
        OnChangeEditMode();
}

// ---------------------------------------------------------------------------------------
// Layout and painting

void TVxHexcavator::UpdateLayout()
{
    const QFontMetrics fm(font());
    const int charWidth = fm.horizontalAdvance(QLatin1Char('W'));
    const int rowHeight = std::max(fm.height(), fm.boundingRect(QString::fromLatin1(kSampleText)).height());
    const int digits = TVxGridGeometry::AddressDigitsFor(FRowCount);
    FGeometry.Layout(charWidth, rowHeight, FStyle.HideOffsetHeader, FStyle.HideByteView, FColumnBytes, digits,
                     WidestAddressWidth(fm, digits));
    FPainter.reset();
    FGlyphs = std::make_unique<TVxGlyphCache>(font(), FGeometry.CharWidth());
    FPainter = std::make_unique<TVxCellPainter>(*FGlyphs);
    FLeftCol = ClampLeftCol(FLeftCol);
    FTopRow = ClampTopRow(FTopRow);
    UpdateScrollBars();
    RepaintAll();
}

int TVxHexcavator::WholeGridWidth() const
{
    // Sized for the widest addresses any document has and with the vertical bar even while
    // it is hidden: opening a longer or larger file later must not take a column away.
    const QFontMetrics fm(font());
    const int digits = TVxGridGeometry::AddressDigitsFor(TVxCells::RowCountFor(INT32_MAX));
    TVxGridGeometry widest;
    widest.Layout(FGeometry.CharWidth(), FGeometry.DefaultRowHeight(), FStyle.HideOffsetHeader, FStyle.HideByteView, FColumnBytes,
                  digits, WidestAddressWidth(fm, digits));
    return widest.TotalWidth() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

void TVxHexcavator::paintEvent(QPaintEvent *e)
{
    QPainter p(viewport());
    if (Changing()) {
        // A block edit's progress lets the window repaint while the working copy is half
        // moved: reading it now would load the cache window from wrong bytes. The grid
        // comes back with the edit's ContentChanged.
        p.fillRect(e->rect(), FStyle.Color);
        return;
    }
    // What the painter may see of this control, for this paint only.
    int32_t selLo, selHi;
    GetSelectionRange(selLo, selHi);
    TVxDocument &bytes = *this;
    const TVxPaintSnapshot state{FGeometry, FStyle,   bytes,     viewport()->width(), viewport()->height(),
                                 FTopRow,   FLeftCol, FRowCount, FCol,                FRow,
                                 FileSize(), selLo,   selHi,     FSelExtent != -1,    FCodec.Decoder(),
                                 FMarks};
    FPainter->Paint(p, e->rect(), state);
    if (FCaretShown && FCaretPhase) {
        // Like a system caret: XOR with the caret colour, so white inverts.
        p.setClipRect(e->rect());
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(CaretRect(), FStyle.CaretColor);
    }
}

void TVxHexcavator::changeEvent(QEvent *e)
{
    QAbstractScrollArea::changeEvent(e);
    if (e->type() == QEvent::FontChange && FPainter) {
        UpdateLayout();
        if (hasFocus()) {
            BuildCaret();
            RefreshCaret();
        }
    }
}

void TVxHexcavator::RepaintAll() { viewport()->update(); }

TVxHexcavator::TPaintState TVxHexcavator::PaintState() const
{
    TPaintState s{FTopRow, FRow, -1, -1, FLeftCol, FCol};
    GetSelectionRange(s.SelLo, s.SelHi);
    return s;
}

void TVxHexcavator::RepaintChangedSince(const TPaintState &before)
{
    const TPaintState now = PaintState();
    const bool visible = FCaretBuilt && !CellRect(FCol, FRow).isEmpty();
    if (now.TopRow != before.TopRow || now.LeftCol != before.LeftCol || visible != FCaretShown) {
        RefreshCaret();
        RepaintAll();
        return;
    }
    // The caret's old and new rows: the current-line colours, the underline, the framed
    // character and the drawn caret itself.
    RepaintRows(before.Row, before.Row);
    RepaintRows(now.Row, now.Row);
    if (now.SelLo == before.SelLo && now.SelHi == before.SelHi)
        return;
    // The rows whose bytes changed between selected and not: the symmetric difference of
    // the two ranges, as offsets, turned into rows.
    auto rowOf = [](int32_t offset) { return TVxCells::OffsetToCell(offset).Row; };
    if (before.SelLo < 0 || now.SelLo < 0) {
        const TPaintState &sel = before.SelLo < 0 ? now : before;
        RepaintRows(rowOf(sel.SelLo), rowOf(sel.SelHi));
        return;
    }
    RepaintRows(rowOf(std::min(before.SelLo, now.SelLo)), rowOf(std::max(before.SelLo, now.SelLo)));
    RepaintRows(rowOf(std::min(before.SelHi, now.SelHi)), rowOf(std::max(before.SelHi, now.SelHi)));
}

void TVxHexcavator::RepaintRows(int32_t first, int32_t last)
{
    first = std::max(first, FTopRow);
    last = std::min({last, FRowCount - 1, FTopRow + VisibleRowCount()});
    if (first > last)
        return;
    const int64_t top = FGeometry.RowTop(first, FTopRow);
    const int64_t bottom = FGeometry.RowTop(last, FTopRow) + FGeometry.RowHeight(last);
    if (top >= viewport()->height())
        return;
    viewport()->update(QRect(0, int(top), viewport()->width(), int(std::min<int64_t>(bottom, viewport()->height()) - top)));
}

// ---------------------------------------------------------------------------------------
// The drawn caret: exists while the control has the focus, hidden while its cell is out of
// view, blinking at the platform's cursor flash rate.

void TVxHexcavator::focusInEvent(QFocusEvent *e)
{
    QAbstractScrollArea::focusInEvent(e);
    FCaretBuilt = true;
    BuildCaret();
    RefreshCaret();
}

void TVxHexcavator::focusOutEvent(QFocusEvent *e)
{
    SetCaretVisible(false);
    FCaretBuilt = false;
    FBlinkTimer.stop();
    QAbstractScrollArea::focusOutEvent(e);
}

void TVxHexcavator::BuildCaret()
{
    if (!FCaretBuilt)
        return;
    SetCaretVisible(false);
    // The shape (block or bar) and colour are read when drawing; rebuilding restarts the
    // blink so that a changed caret shows at once.
    FCaretPhase = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0)
        FBlinkTimer.start(flash / 2);
    else
        FBlinkTimer.stop();
}

void TVxHexcavator::SetCaretVisible(bool visible)
{
    if (FCaretShown == visible)
        return;
    FCaretShown = visible;
    FCaretPhase = true;
    RepaintAll();
}

void TVxHexcavator::BlinkCaret()
{
    FCaretPhase = !FCaretPhase;
    if (FCaretShown)
        viewport()->update(CaretRect());
}

QRect TVxHexcavator::CaretRect() const
{
    QRect cell = CellRect(FCol, FRow);
    if (FTextSide) {
        // On the byte's character in the character column.
        const QRect chars = CellRect(TVxCells::kCharCol, FRow);
        cell = chars.isEmpty() ? QRect()
                               : QRect(chars.left() + (FCol - TVxCells::kFirstHexCol) * FGeometry.CharWidth(),
                                       chars.top(), FGeometry.CharWidth(), chars.height());
    }
    if (cell.isEmpty())
        return QRect();
    const bool bar = FInsertMode && !FReadOnlyMode;
    return QRect(cell.left(), cell.top(), bar ? 2 : FGeometry.CharWidth(), FGeometry.DefaultRowHeight());
}

void TVxHexcavator::RefreshCaret()
{
    if (!FCaretBuilt)
        return;
    SetCaretVisible(!CellRect(FCol, FRow).isEmpty());
    RepaintAll();
}

// ---------------------------------------------------------------------------------------
// Grid

bool TVxHexcavator::SelectCell(int col, int32_t row) const
{
    if (row < 1 || row > FRowCount - 1 || !TVxCells::IsHexCol(col))
        return false;
    return !(row == FRowCount - 1 && col > FEndCol);
}

QRect TVxHexcavator::CellRect(int col, int32_t row) const
{
    if (col < 0 || col >= TVxGridGeometry::kColCount || row < 0 || row >= FRowCount)
        return QRect();
    if (col >= TVxCells::kFirstHexCol && col < FLeftCol)
        return QRect();
    if (row >= 1 && row < FTopRow)
        return QRect();
    const int64_t top = FGeometry.RowTop(row, FTopRow);
    const int left = FGeometry.ColLeft(col, FLeftCol);
    if (top >= viewport()->height() || left >= viewport()->width())
        return QRect();
    return QRect(left, int(top), FGeometry.ColWidth(col), FGeometry.RowHeight(row));
}

TVxCell TVxHexcavator::MouseCoord(const QPoint &pos) const
{
    const int col = FGeometry.ColAt(pos.x(), FLeftCol);
    int64_t row = FGeometry.RowAt(pos.y(), FTopRow);
    if (row < 0) // above the control counts as above the data rows
        row = 0;
    if (row >= FRowCount)
        row = -1;
    return TVxCell{col, int32_t(row)};
}

TVxCell TVxHexcavator::MouseToCell(const QPoint &pos) const
{
    const TVxCell coord = MouseCoord(pos);
    TVxCell target{coord.Col, coord.Row};
    if (coord.Row == -1)
        target.Row = FRow;
    else if (coord.Row < FTopRow)
        target.Row = std::max(1, FTopRow - 1);
    if (coord.Col == -1)
        target.Col = FCol;
    else if (coord.Col == TVxCells::kCharCol)
        target.Col = std::min((pos.x() - FGeometry.ColLeft(TVxCells::kCharCol, FLeftCol)) / FGeometry.CharWidth() +
                                  TVxCells::kFirstHexCol,
                              TVxCells::kLastHexCol);
    target.Col = std::clamp(target.Col, TVxCells::kFirstHexCol, TVxCells::kLastHexCol);
    return target;
}

// ---------------------------------------------------------------------------------------
// Engine hooks

void TVxHexcavator::MoveCaretToOffset(int32_t offset)
{
    const TVxCell cell = TVxCells::OffsetToCell(offset);
    MoveCaretToNoShift(cell.Col, cell.Row);
}

void TVxHexcavator::EndSelection(bool clear)
{
    FSelecting = false;
    if (clear && FSelExtent != -1) {
        FSelExtent = -1;
        SyncAnchor();
        RepaintAll();
    }
}

void TVxHexcavator::FileSizeChanged(int32_t fileSize)
{
    FRowCount = TVxCells::RowCountFor(fileSize);
    FEndCol = TVxCells::EndColFor(fileSize);
    // A shrinking document may leave the caret beyond its end: it stays on the end position.
    if (FRow > FRowCount - 1)
        FRow = FRowCount - 1;
    if (FRow == FRowCount - 1 && FCol > FEndCol)
        FCol = FEndCol;
    const int32_t last = FileSize() - 1;
    if (FSelExtent > last)
        FSelExtent = last;
    if (FSelAnchor > last)
        FSelAnchor = last;
    SyncAnchor();
    // Past offset 0x10000000 the addresses take an eighth digit, and the column widens for it.
    if (FPainter && TVxGridGeometry::AddressDigitsFor(FRowCount) != FGeometry.AddressDigits())
        UpdateLayout();
    FTopRow = ClampTopRow(FTopRow);
    UpdateScrollBars();
    RepaintAll();
}

void TVxHexcavator::DocumentReplaced()
{
    FCol = TVxCells::kFirstHexCol;
    FRow = 1;
    FTopRow = 1;
    FLeftCol = TVxCells::kFirstHexCol;
    FSelecting = false;
    FMouseSelecting = false;
    FHalfByte = false;
    FSelExtent = -1;
    FSelAnchor = std::min(0, FileSize() - 1);
    UpdateScrollBars();
    RefreshCaret();
    RepaintAll();
    if (OnMoveCell)
        OnMoveCell();
}

void TVxHexcavator::ContentChanged()
{
    // A byte changed under a half-typed pair: the second digit must not land on it
    // unrecorded. The typing path sets the flag again after its own write.
    FHalfByte = false;
    RepaintAll();
}

void TVxHexcavator::PostFileOpened()
{
    if (AnnounceFileOpened) {
        AnnounceFileOpened();
        return;
    }
    QTimer::singleShot(0, this, [this] {
        if (OnFileOpenAnyInstance)
            OnFileOpenAnyInstance();
    });
}

void TVxHexcavator::ShowError(const std::exception &e)
{
    if (OnError) {
        OnError(e);
        return;
    }
    TVxMessageBox::Show(this, QGuiApplication::applicationDisplayName(), QString::fromLocal8Bit(e.what()),
                        mbOK | mbIconStop);
}

std::string TVxHexcavator::GetRowText(int32_t offset, int32_t count)
{
    return TVxTextFilter::FilterText(ReadBytes(offset, count), FCharCode, false);
}
