#pragma once
// Where everything of a printed dump goes, as plain integer arithmetic in device units: no
// printer, no painter, so every rule is tested on its own.
//
// A job prints the rows that hold the inclusive range [First, Last], one row of 16 bytes per
// line: the dump line at Left, then one blank character, then the row's 16 characters from
// CharLeft to CharRight. A page holds LinesPerPage data lines; with the header on, the title
// stands at Top and the lines start two line heights below it; with the footer on, the page
// number stands two line heights below the slot after the last one, full page or not.
//
// Margins come from millimetres by truncating integer division with the product formed
// first (mm * dpi * 10 / 254), so the same settings always give the same device positions.
// There is no right margin; a line wider than the page gets a smaller font before it is laid
// out here (TPrintFontFit), so the measures given are those of the font that prints.
//
// Rows are numbered as offsets / 16; offsets here are 64-bit so that the row after the last
// row of the largest document (2147483647 bytes) still computes.

#include <cstdint>
#include <vector>

// What the device and the print settings give a job.
struct TPrintPageSetup {
    int32_t DpiX = 0, DpiY = 0; // logical pixels per inch across and down
    int32_t PageHeight = 0;     // printable height, device units
    int32_t LineHeight = 0;     // height of the sample line in the print font
    int32_t CharWidth = 0;      // width of "W" in the print font
    int32_t TopMargin = 0, BottomMargin = 0, LeftMargin = 0; // millimetres
    bool Header = true, Footer = true;
};

// One row's character text: bytes from TextFrom on are drawn one cell each starting at TextX,
// and only what falls between ClipLeft and ClipRight (and inside the column) shows.
struct TPrintRowClip {
    int64_t RowStart;  // offset of the row's first cell
    int64_t TextFrom;  // first byte of the character text: three bytes early, not below 0
    int64_t TextEnd;   // one past its last byte: one byte after the row, cut at the data's end
    int32_t TextX;     // x of TextFrom's cell
    int32_t ClipLeft;  // cells of the row before First are clipped away ...
    int32_t ClipRight; // ... and so are those after Last
};

// A piece of a row's character text to draw: Count bytes from Index of the text (an index
// into the bytes from TextFrom), its first cell at X. A run of single-byte printable
// ASCII characters is one piece (the font's own advances keep them in their cells); every
// other character is a piece of its own, Cells wide, to be fitted into its cells.
struct TPrintCharPiece {
    int32_t Index;
    int32_t Count;
    int32_t X;
    int32_t Cells; // cells covered: Count for an ASCII run, else the character's 1 or 2
    bool Ascii;
};

class TPrintLayout {
public:
    // The sample whose height is the line height.
    static constexpr const char *kSampleText = " 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

    // first <= last, both >= 0; dumpLineLength is the length of the job's dump lines (all have
    // the same, set by the address column and the column width).
    TPrintLayout(const TPrintPageSetup &setup, int32_t first, int32_t last, int32_t dumpLineLength);

    static int32_t MillimetresToDots(int32_t mm, int32_t dpi);

    int32_t Left() const { return FLeft; }
    int32_t Top() const { return FTop; }
    int32_t Bottom() const { return FBottom; }
    int32_t LineHeight() const { return FSetup.LineHeight; }
    // Data lines per page; the job prints nothing when this is not positive.
    int32_t LinesPerPage() const { return FLines; }
    bool Fits() const { return FLines > 0; }
    int32_t FirstRow() const { return FFirstRow; }
    int32_t Rows() const { return FRows; }
    int32_t Pages() const { return FPages; }
    int32_t CharLeft() const { return FCharLeft; }
    int32_t CharRight() const { return FCharRight; }

    // y of the header (the title), of line slot `slot` (0-based) on a page, of the footer.
    int32_t HeaderY() const { return FTop; }
    int32_t LineY(int32_t slot) const;
    int32_t FooterY() const { return LineY(FLines) + 2 * FSetup.LineHeight; }
    // The row in slot `slot` of page `page` (1-based); it is printed when it holds a byte of
    // the range (RowStart <= Last), otherwise the slot stays empty.
    int64_t RowAt(int32_t page, int32_t slot) const;
    bool RowPrinted(int64_t row) const { return row * 16 <= FLast; }

    // The character text of a row, for a document of fileSize bytes.
    TPrintRowClip RowClip(int64_t row, int32_t fileSize) const;
    // The pieces of a row's text worth drawing: those that meet the clip rectangle. `spans`
    // holds TVxTextFilter's character lengths of the text's bytes (count of them), `text`
    // the filtered bytes.
    static std::vector<TPrintCharPiece> Pieces(const TPrintRowClip &clip, int32_t charWidth, const char *text,
                                               const uint8_t *spans, int32_t count);
    // The same, appended to `out`: a job reuses one vector for all its lines.
    static void Pieces(const TPrintRowClip &clip, int32_t charWidth, const char *text, const uint8_t *spans,
                       int32_t count, std::vector<TPrintCharPiece> &out);

private:
    TPrintPageSetup FSetup;
    int32_t FFirst, FLast;
    int32_t FLeft = 0, FTop = 0, FBottom = 0;
    int32_t FLines = 0;
    int32_t FFirstRow = 0, FRows = 0, FPages = 0;
    int32_t FCharLeft = 0, FCharRight = 0;
};
