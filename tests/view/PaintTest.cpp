// Painted pixels on grabbed images: cell colours, selection, current line, underline, the
// address text, and the character column's decoding and alignment.

#include "ViewTestSupport.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFile>
#include <QImage>

namespace {
const QColor kWhite(255, 255, 255), kBlack(0, 0, 0);
const QColor kSelBG(0, 200, 0), kSelText(0, 0, 255);
const QColor kCurBG(255, 255, 0), kCurText(255, 0, 0);
const QColor kAddrBG(220, 220, 220), kAddrText(0, 0, 128);
const QColor kUnder(255, 0, 255);

int Count(const QImage &img, const QRect &r, const QColor &c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixelColor(x, y).rgb() == c.rgb();
    return n;
}

// Counts the paint events a widget receives while it lives.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget *w) : FWidget(w) { w->installEventFilter(this); }
    ~TPaintCounter() override { FWidget->removeEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        Count += e->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget *FWidget;
};
} // namespace

class TPaintTest : public TViewTest {
protected:
    void SetUp() override
    {
        TViewTest::SetUp();
        View->SetColor(kWhite);
        View->SetFontColor(kBlack);
        View->SetSelectBGColor(kSelBG);
        View->SetSelectColor(kSelText);
        View->SetCurrentLineBGColor(kCurBG);
        View->SetCurrentLineColor(kCurText);
        View->SetAddressBGColor(kAddrBG);
        View->SetAddressColor(kAddrText);
        View->SetUnderLineColor(kUnder);
    }
    QImage Grab() { return View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The blank third of a byte cell (the gap after its two digits).
    QPoint Gap(int col, int32_t row)
    {
        const QRect r = View->CellRect(col, row);
        return QPoint(r.right() - 1, r.center().y());
    }
    QRect CharRect(int32_t row, int i)
    {
        const QRect r = View->CellRect(19, row);
        return QRect(r.left() + i * View->CharWidth(), r.top(), View->CharWidth(), r.height());
    }
    QColor At(const QImage &img, QPoint p) { return img.pixelColor(p); }
    // Glyph shapes need a font; Qt's headless platform under Wine has none (it draws boxes),
    // while the program itself, on the Windows platform, has the system's.
    static bool NoGlyphs() { return QFontDatabase::families().isEmpty(); }
};

TEST_F(TPaintTest, SelectionCurrentLineAndUnderline)
{
    if (NoGlyphs())
        GTEST_SKIP() << "no font on this headless platform";
    Load(std::vector<uint8_t>(64, 0x20));
    View->GotoOffset(1);
    View->SetSelection(18, 20);
    QImage img = Grab();
    EXPECT_EQ(At(img, Gap(4, 2)), kSelBG);
    EXPECT_EQ(At(img, Gap(6, 2)), kSelBG);
    EXPECT_EQ(At(img, Gap(7, 2)), kWhite);
    EXPECT_EQ(At(img, Gap(3, 1)), kCurBG);
    EXPECT_EQ(At(img, Gap(3, 3)), kWhite);
    // Digits take their cell kind's text colour.
    const QRect sel = View->CellRect(5, 2), cur = View->CellRect(9, 1), plain = View->CellRect(9, 3);
    EXPECT_GT(Count(img, sel, kSelText), 0);
    EXPECT_EQ(Count(img, sel, kBlack), 0);
    EXPECT_GT(Count(img, cur, kCurText), 0);
    EXPECT_GT(Count(img, plain, kBlack), 0);
    // The blank characters of the selected bytes are inverted, their neighbours are not.
    for (int i = 0; i < 16; ++i) {
        const QRect ch = CharRect(2, i);
        const bool inverted = i >= 2 && i <= 4;
        EXPECT_EQ(Count(img, ch.adjusted(1, 1, -1, -1), inverted ? kBlack : kWhite), (ch.width() - 2) * (ch.height() - 2))
            << "character " << i;
    }
    // The current row's character cell: line colours and the frame of the caret's byte.
    const QRect caretChar = CharRect(1, 1);
    EXPECT_EQ(At(img, QPoint(caretChar.left(), caretChar.center().y())), kWhite);
    EXPECT_EQ(At(img, QPoint(caretChar.center().x(), caretChar.center().y())), kCurBG);
    // No underline while something is selected.
    View->SetViewUnderLine(true);
    img = Grab();
    const QRect row1 = View->CellRect(3, 1);
    EXPECT_EQ(Count(img, QRect(0, row1.bottom(), img.width(), 1), kUnder), 0);

    Key(Qt::Key_Right); // a plain move drops the selection
    Key(Qt::Key_Left);
    img = Grab();
    EXPECT_EQ(At(img, QPoint(2, row1.bottom())), kUnder);           // address column
    EXPECT_EQ(At(img, QPoint(Gap(3, 1).x(), row1.bottom())), kUnder); // byte cell
    EXPECT_EQ(At(img, QPoint(CharRect(1, 8).center().x(), row1.bottom())), kUnder);
    EXPECT_EQ(At(img, Gap(3, 1)), kCurBG);
    EXPECT_EQ(At(img, QPoint(Gap(3, 2).x(), View->CellRect(3, 2).bottom())), kWhite);
}

TEST_F(TPaintTest, AWholeStyleIsOneRepaintAndAnEqualStyleNone)
{
    Load(std::vector<uint8_t>(64, 0x20));
    View->clearFocus(); // no caret blinking into the count
    View->GotoOffset(1);
    QApplication::processEvents();
    const TVxViewStyle before = View->ViewStyle();
    TPaintCounter paints(View->viewport());
    View->SetViewStyle(before);
    QApplication::processEvents();
    EXPECT_EQ(paints.Count, 0) << "an equal style";

    const QColor newBG(250, 240, 200), newCurBG(200, 240, 250);
    TVxViewStyle style = before;
    style.Color = newBG;
    style.CurrentLineBGColor = newCurBG;
    style.HideOffsetHeader = true;
    style.ViewUnderLine = true;
    View->SetViewStyle(style);
    QApplication::processEvents();
    EXPECT_EQ(paints.Count, 1);
    EXPECT_TRUE(View->ViewStyle() == style);
    EXPECT_EQ(View->Color(), newBG);
    EXPECT_TRUE(View->HideOffsetHeader());
    EXPECT_EQ(View->Geometry().HeaderHeight(), 0);
    const QImage img = Grab();
    EXPECT_EQ(At(img, Gap(3, 3)), newBG);
    EXPECT_EQ(At(img, Gap(3, 1)), newCurBG);
    EXPECT_EQ(At(img, QPoint(Gap(3, 1).x(), View->CellRect(3, 1).bottom())), kUnder);

    // The same change made property by property paints the same picture.
    View->SetViewStyle(before);
    View->SetColor(newBG);
    View->SetCurrentLineBGColor(newCurBG);
    View->SetHideOffsetHeader(true);
    View->SetViewUnderLine(true);
    EXPECT_TRUE(View->ViewStyle() == style);
    EXPECT_EQ(Grab(), img);
}

TEST_F(TPaintTest, AddressTextStandsAtTheRightOfItsColumn)
{
    Load(std::vector<uint8_t>(64, 0x20));
    const QImage img = Grab();
    const QRect addr = View->CellRect(0, 2);
    const int textWidth = 8 * View->CharWidth(); // "0000010:"
    const QRect blank(addr.left(), addr.top(), addr.width() - textWidth, addr.height());
    const QRect text(addr.right() - textWidth + 1, addr.top(), textWidth, addr.height());
    EXPECT_EQ(Count(img, blank, kAddrBG), blank.width() * blank.height());
    EXPECT_GT(Count(img, text, kAddrText), 0);
    EXPECT_EQ(Count(img, text, kAddrText) + Count(img, text, kAddrBG), text.width() * text.height());
    // The header row uses the address colours across the byte columns too.
    const QRect head = View->CellRect(4, 0);
    EXPECT_GT(Count(img, head, kAddrText), 0);
    EXPECT_EQ(Count(img, head, kAddrText) + Count(img, head, kAddrBG), head.width() * head.height());
    // The spacer is plain background.
    const QRect spacer = View->CellRect(1, 2);
    EXPECT_EQ(Count(img, spacer, kWhite), spacer.width() * spacer.height());
}

TEST_F(TPaintTest, TheEditorsFaceHoldsTheKanjiItself)
{
    // The stand-in for "FixedSys" is one fixed-pitch design with Latin letters and kanji
    // (IPA Gothic where installed), not a Latin face that borrows its kanji from another.
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "IPA Gothic is not installed";
    const QFontInfo info(View->font());
    EXPECT_EQ(info.family(), QStringLiteral("IPAGothic"));
    EXPECT_TRUE(QFontMetrics(View->font()).inFont(QChar(0x6F22))); // 漢
}

TEST_F(TPaintTest, ALargeDocumentShowsEveryAddressInItsEightDigits)
{
    // 0x10000010 bytes (a sparse file): its last rows need eight digits, so the first row
    // shows "00000000:" as well, right-aligned like them, and nothing shifts on scrolling.
    const std::string path = Dir.File("large.bin");
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(0x10000010));
    }
    View->LoadFromFile(path);
    ShowRows(4);
    const QRect addr = View->CellRect(0, 1);
    const int cw = View->CharWidth();
    const QRect eighth(addr.right() - 9 * cw + 1, addr.top(), cw, addr.height());
    EXPECT_GT(Count(Grab(), eighth, kAddrText), 0);
    const QRect before(addr.left(), addr.top(), addr.width() - 9 * cw, addr.height());
    EXPECT_EQ(Count(Grab(), before, kAddrText), 0);
}

TEST_F(TPaintTest, ShiftJisCharactersKeepTheirCells)
{
    if (NoGlyphs())
        GTEST_SKIP() << "no font on this headless platform";
    // Row 1: ASCII, a half-width katakana at 5, then a double-byte character across the
    // row boundary (lead at 15, trail at 16).
    std::vector<uint8_t> bytes(48, 0x20);
    bytes[0] = 'A';
    bytes[1] = 'B';
    bytes[5] = 0xB1;
    bytes[15] = 0x82;
    bytes[16] = 0xA0;
    // Row 3: eight double-byte characters fill the row exactly.
    for (int i = 0; i < 8; ++i) {
        bytes[32 + 2 * i] = 0x88;
        bytes[33 + 2 * i] = 0x9F;
    }
    Load(bytes);
    View->GotoOffset(48); // the current row is the end row, out of the way
    const QImage ascii = Grab();
    View->SetCharCode(ccSJIS);
    const QImage sjis = Grab();

    // ASCII characters are drawn identically in both modes: no drift.
    EXPECT_EQ(ascii.copy(CharRect(1, 0).united(CharRect(1, 1))), sjis.copy(CharRect(1, 0).united(CharRect(1, 1))));
    // In ASCII mode those bytes are dots; decoded they carry more ink.
    EXPECT_GT(Count(sjis, CharRect(1, 5), kBlack), Count(ascii, CharRect(1, 5), kBlack));
    // Row 1 shows the left half of the pair at its right edge, row 2 the right half at its
    // left edge; the blank after it stays blank.
    EXPECT_GT(Count(sjis, CharRect(1, 15), kBlack), Count(ascii, CharRect(1, 15), kBlack));
    EXPECT_GT(Count(sjis, CharRect(2, 0), kBlack), Count(ascii, CharRect(2, 0), kBlack)); // "." in ASCII
    EXPECT_EQ(Count(sjis, CharRect(2, 1), kBlack), 0);
    // Nothing of the column's text spills over its right edge.
    const QRect charCol = View->CellRect(19, 3);
    const QRect right(charCol.right() + 1, charCol.top(), 6, charCol.height());
    EXPECT_EQ(Count(sjis, right, kWhite), right.width() * right.height());
    for (int i = 0; i < 16; i += 2)
        EXPECT_GT(Count(sjis, CharRect(3, i).united(CharRect(3, i + 1)), kBlack), 0) << "pair " << i / 2;
}

TEST_F(TPaintTest, HiddenByteViewPaintsNothingOfTheCharacterColumn)
{
    Load(std::vector<uint8_t>(64, 'W'));
    View->SetHideByteView(true);
    const QImage img = Grab();
    const QRect spacer = View->CellRect(18, 2);
    const QRect beyond(spacer.left(), 0, img.width() - spacer.left(), img.height());
    EXPECT_EQ(Count(img, beyond, kBlack), 0);
}

TEST_F(TPaintTest, EucUtf16AndUtf8CharactersKeepTheirCells)
{
    if (NoGlyphs())
        GTEST_SKIP() << "no font on this headless platform";
    // For each code, row 1 holds a character of several bytes, an invalid byte and, from its
    // last cell on, a character that runs into row 2; the rest are blanks.
    const struct {
        TVxCharCode Code;
        std::vector<uint8_t> Row;      // from offset 0
        int CharFrom, CharTo;          // the character's cells on row 1
        int Invalid;                   // a cell that shows "."
        std::vector<uint8_t> Crossing; // placed at Cross
        int Cross, RestOnRow2;         // the first cell of row 2 after it
    } kCases[] = {
        {ccUTF8, {'A', 'B', 0xE3, 0x81, 0x82, 0x80}, 2, 4, 5, {0xE3, 0x81, 0x82}, 15, 2},
        {ccEUC, {'A', 'B', 0xA4, 0xA2, ' ', 0x80}, 2, 3, 5, {0xA4, 0xA2}, 15, 1},
        {ccUNICODE, {'A', 0, 'B', 0, 0x9E, 0x8A, 0x00, 0xDC}, 4, 5, 6, {0x3D, 0xD8, 0x00, 0xDE}, 14, 2},
    };
    for (const auto &c : kCases) {
        std::vector<uint8_t> bytes(48, c.Code == ccUNICODE ? 0 : ' ');
        if (c.Code == ccUNICODE)
            for (size_t i = 0; i < bytes.size(); i += 2)
                bytes[i] = ' ';
        std::copy(c.Row.begin(), c.Row.end(), bytes.begin());
        std::copy(c.Crossing.begin(), c.Crossing.end(), bytes.begin() + c.Cross);
        View->SetCharCode(ccASCII);
        Load(bytes);
        View->GotoOffset(48); // the current row is out of the way
        const QImage ascii = Grab();
        View->SetCharCode(c.Code);
        const QImage img = Grab();
        QRect chr = CharRect(1, c.CharFrom);
        for (int i = c.CharFrom + 1; i <= c.CharTo; ++i)
            chr = chr.united(CharRect(1, i));
        EXPECT_GT(Count(img, chr, kBlack), Count(ascii, chr, kBlack)) << "code " << c.Code;
        // An invalid byte is the same "." as in the ASCII column.
        EXPECT_EQ(img.copy(CharRect(1, c.Invalid)), ascii.copy(CharRect(1, c.Invalid))) << "code " << c.Code;
        EXPECT_GT(Count(img, CharRect(1, 15), kBlack), 0) << "code " << c.Code;
        EXPECT_GT(Count(img, CharRect(2, 0), kBlack), Count(ascii, CharRect(2, 0), kBlack)) << "code " << c.Code;
        EXPECT_EQ(Count(img, CharRect(2, c.RestOnRow2), kBlack), 0) << "code " << c.Code;
        // Nothing spills over the column's right edge.
        const QRect col = View->CellRect(19, 1);
        const QRect right(col.right() + 1, col.top(), 6, col.height());
        EXPECT_EQ(Count(img, right, kWhite), right.width() * right.height()) << "code " << c.Code;
    }
}

TEST_F(TPaintTest, ChangedBytesTakeTheirColourUntilUndoReachesTheSave)
{
    if (NoGlyphs())
        GTEST_SKIP() << "no font on this headless platform";
    // By default a changed byte on the current line stands out from its neighbours: the
    // two text colours are far apart.
    const TVxViewStyle defaults;
    const auto distance = [](const QColor &a, const QColor &b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    EXPECT_GE(distance(defaults.ChangedColor, defaults.CurrentLineColor), 160);
    EXPECT_GE(distance(defaults.ChangedColor, defaults.FontColor), 160);
    const QColor kChanged(0, 160, 160);
    View->SetChangedColor(kChanged);
    Load(std::vector<uint8_t>(80, 0x41));
    View->OverwriteByte(17, 0x42, true); // row 2, hex column 3
    View->InsertByte(51, 0x43, true);    // row 4, hex column 5; what follows moves, unchanged
    View->GotoOffset(56);                // row 4 is the current line
    QImage img = Grab();
    const QRect changed = View->CellRect(3, 2), plain = View->CellRect(6, 2);
    EXPECT_GT(Count(img, changed, kChanged), 0);
    EXPECT_EQ(Count(img, changed, kBlack), 0);
    EXPECT_EQ(Count(img, plain, kChanged), 0);
    EXPECT_GT(Count(img, plain, kBlack), 0);
    EXPECT_EQ(At(img, Gap(3, 2)), kWhite); // the background stays
    // On the current line the changed colour wins for the text, the line keeps its background.
    const QRect curChanged = View->CellRect(5, 4), curPlain = View->CellRect(6, 4);
    EXPECT_GT(Count(img, curChanged, kChanged), 0);
    EXPECT_EQ(Count(img, curChanged, kCurText), 0);
    EXPECT_EQ(At(img, Gap(5, 4)), kCurBG);
    EXPECT_EQ(Count(img, curPlain, kChanged), 0);
    EXPECT_GT(Count(img, curPlain, kCurText), 0);
    // The character column: the changed byte's character only.
    EXPECT_GT(Count(img, CharRect(2, 1), kChanged), 0);
    EXPECT_EQ(Count(img, CharRect(2, 2), kChanged), 0);
    EXPECT_GT(Count(img, CharRect(4, 3), kChanged), 0);
    EXPECT_EQ(Count(img, CharRect(4, 4), kChanged), 0);

    // Selected bytes keep the selection's colours.
    View->SetSelection(16, 18);
    img = Grab();
    EXPECT_EQ(Count(img, changed, kChanged), 0);
    EXPECT_GT(Count(img, changed, kSelText), 0);
    EXPECT_EQ(Count(img, CharRect(2, 1), kChanged), 0);

    View->Undo();
    img = Grab();
    EXPECT_EQ(Count(img, curChanged, kChanged), 0);
    EXPECT_GT(Count(img, changed, kChanged), 0);
    View->Undo(); // back at the loaded state: nothing is changed
    img = Grab();
    EXPECT_EQ(Count(img, img.rect(), kChanged), 0);
    View->Redo();
    img = Grab();
    EXPECT_GT(Count(img, changed, kChanged), 0);
}

// Marks (a compare's differences): marked bytes on their own background in both columns, the
// selection over them winning; a gap is a bar before the byte it stands at; gone when unset.
TEST_F(TPaintTest, MarkedBytesAndGapsShowInBothColumns)
{
    struct TMarks : TVxMarkSource {
        std::vector<TRange> All;
        void MarksIn(int32_t first, int32_t end, std::vector<TRange> &out) const override
        {
            for (const TRange &r : All)
                if (r.End >= first && r.First <= end)
                    out.push_back(r);
        }
    } marks;
    marks.All = {{18, 21}, {35, 35}}; // row 2, bytes 2..4; a gap before row 3's byte 3
    const QColor kMarkBG(250, 200, 100), kBar = kMarkBG.darker(200);
    View->SetMarkBGColor(kMarkBG);
    Load(std::vector<uint8_t>(80, 0x41));
    View->GotoOffset(70);
    View->SetMarks(&marks);
    QImage img = Grab();
    for (int i = 2; i <= 4; ++i) {
        EXPECT_EQ(At(img, Gap(2 + i, 2)), kMarkBG) << i;
        EXPECT_EQ(At(img, CharRect(2, i).topLeft() + QPoint(1, 1)), kMarkBG) << i;
    }
    for (int i : {1, 5}) {
        EXPECT_EQ(At(img, Gap(2 + i, 2)), kWhite) << i;
        EXPECT_EQ(At(img, CharRect(2, i).topLeft() + QPoint(1, 1)), kWhite) << i;
    }
    const auto barAt = [&](int x, int32_t row) {
        const QRect cell = View->CellRect(2, row);
        return Count(img, QRect(x - 1, cell.top(), 2, cell.height()), kBar);
    };
    EXPECT_GT(barAt(View->CellRect(5, 3).left(), 3), 0);
    EXPECT_GT(barAt(CharRect(3, 3).left(), 3), 0);
    EXPECT_EQ(barAt(View->CellRect(6, 3).left(), 3), 0);
    EXPECT_EQ(barAt(View->CellRect(5, 2).left(), 2), 0);

    View->SetSelection(19, 19);
    img = Grab();
    EXPECT_EQ(At(img, Gap(5, 2)), kSelBG);
    EXPECT_EQ(At(img, Gap(4, 2)), kMarkBG);
    View->SetMarks(nullptr);
    img = Grab();
    EXPECT_EQ(At(img, Gap(4, 2)), kWhite);
}
