#pragma once
// Pixel layout of the grid: the width of each of the 20 columns and the height of the
// header and data rows, derived from two measured units (the width of "W" and the height of
// a sample text in the control's font), plus the arithmetic between pixels and cells for a
// given scroll position. No widget: the control measures its font and hands the units in.
//
// The address column holds the widest address the document shows (its last row's, at least
// kMinAddressDigits hexadecimal digits, then ":") plus a margin at its left: as wide as the
// font says that text is, and never less than one character cell per character.
//
// Horizontal scrolling moves columns 2..19 under the fixed columns 0 and 1; vertical
// scrolling moves data rows under the fixed header row 0. Coordinates are those of the
// viewport: x 0 is the left edge of column 0, y 0 the top of the header row.

#include "TVxCells.h"

#include <cstdint>

enum TVxColumnBytes : int { cb1byte, cb2byte, cb4byte, cb8byte, cb16byte };

class TVxGridGeometry {
public:
    static constexpr int kColCount = TVxCells::kColCount;
    static constexpr int kSpacerWidth = 10;
    static constexpr int kMinAddressDigits = 7;
    static constexpr int kAddressMargin = 10;
    static int GroupSize(TVxColumnBytes cb) { return 1 << static_cast<int>(cb); }
    // Hexadecimal digits of the widest address in a grid of `rowCount` rows (header and
    // end-position row included): those of the last row's address, at least kMinAddressDigits.
    static int AddressDigitsFor(int32_t rowCount);

    // Recomputes every size from the units and the view options. `addressTextWidth` is the
    // measured width of the widest address of `addressDigits` digits with its ":".
    void Layout(int charWidth, int rowHeight, bool hideOffsetHeader, bool hideByteView, TVxColumnBytes columnBytes,
                int addressDigits, int addressTextWidth);

    int CharWidth() const { return FCharWidth; }
    int DefaultRowHeight() const { return FRowHeight; }
    int HeaderHeight() const { return FHeaderHeight; }
    int AddressDigits() const { return FAddressDigits; }
    int ColWidth(int col) const { return col >= 0 && col < kColCount ? FWidths[col] : 0; }
    int RowHeight(int32_t row) const { return row == 0 ? FHeaderHeight : FRowHeight; }
    // Width of the columns that never scroll sideways (0 and 1).
    int FixedWidth() const { return FWidths[TVxCells::kAddressCol] + FWidths[TVxCells::kAddressSpacerCol]; }
    // Width of all 20 columns side by side.
    int TotalWidth() const { return FFullWidth; }

    // Left edge of a column when `leftCol` is the first scrollable column shown; columns
    // scrolled off to the left lie at negative x under the fixed ones.
    int ColLeft(int col, int leftCol) const;
    // Column under x, or -1 right of the last column. x < 0 counts as column 0.
    int ColAt(int x, int leftCol) const;
    // Scrollable columns fully visible from leftCol in a client of the given width (at
    // least 1, so that paging always moves).
    int VisibleColCount(int clientWidth, int leftCol) const;
    // The greatest left column that still shows column 19 entirely, or 2.
    int MaxLeftCol(int clientWidth) const;

    // Data rows fully visible below the header (at least 1).
    int32_t VisibleRowCount(int clientHeight) const;
    // Top edge of a data row when `topRow` is the first data row shown; int64 because far
    // rows lie far outside the viewport.
    int64_t RowTop(int32_t row, int32_t topRow) const;
    // Data row under y (y at or below the header), possibly beyond the document; 0 for y
    // in the header, -1 above the viewport.
    int64_t RowAt(int y, int32_t topRow) const;

private:
    int FCharWidth = 8;
    int FRowHeight = 18;
    int FHeaderHeight = 18;
    int FAddressDigits = kMinAddressDigits;
    int FFullWidth = 0;
    int FWidths[kColCount] = {};
};
