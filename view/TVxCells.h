#pragma once
// Row and column arithmetic of the grid: 20 columns (0 address, 1 spacer, 2..17 the 16
// bytes of a row, 18 spacer, 19 character column), row 0 the header, data row r holding
// offsets 16(r-1) .. 16(r-1)+15. The engine knows offsets and sizes only; the view maps
// them to cells here. Pixel geometry is TVxGridGeometry.

#include <cstdint>

struct TVxCell {
    int Col;
    int32_t Row;
    bool operator==(const TVxCell &o) const { return Col == o.Col && Row == o.Row; }
};

class TVxCells {
public:
    static constexpr int kColCount = 20;
    static constexpr int kAddressCol = 0;
    static constexpr int kAddressSpacerCol = 1;
    static constexpr int kFirstHexCol = 2;
    static constexpr int kLastHexCol = 17;
    static constexpr int kCharSpacerCol = 18;
    static constexpr int kCharCol = 19;
    static constexpr int kBytesPerRow = 16;

    static bool IsHexCol(int col) { return col >= kFirstHexCol && col <= kLastHexCol; }

    // Offset of a cell: its byte for hex columns, the row start for the character column,
    // -1 for the address and spacer columns and the header row.
    static int32_t CellToOffset(int col, int32_t row)
    {
        if (row < 1)
            return -1;
        int32_t base = (row - 1) * kBytesPerRow;
        if (IsHexCol(col))
            return base + (col - kFirstHexCol);
        if (col == kCharCol)
            return base;
        return -1;
    }

    static TVxCell OffsetToCell(int32_t offset)
    {
        return TVxCell{offset % kBytesPerRow + kFirstHexCol, offset / kBytesPerRow + 1};
    }

    // The header row plus one row per 16 bytes plus the row holding the end position.
    static int32_t RowCountFor(int32_t fileSize)
    {
        if (fileSize <= 0)
            return 2;
        int32_t rows = fileSize / kBytesPerRow + 2;
        return rows < 2 ? 2 : rows;
    }

    // Column of the end position (offset fileSize) in the last row.
    static int EndColFor(int32_t fileSize)
    {
        return fileSize <= 0 ? kFirstHexCol : fileSize % kBytesPerRow + kFirstHexCol;
    }
};
