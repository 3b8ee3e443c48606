#include "TVxGridGeometry.h"

#include <algorithm>

namespace {
constexpr int kAddressCol = TVxCells::kAddressCol;
constexpr int kAddressSpacerCol = TVxCells::kAddressSpacerCol;
constexpr int kCharSpacerCol = TVxCells::kCharSpacerCol;
constexpr int kFirstHexCol = TVxCells::kFirstHexCol;
constexpr int kLastHexCol = TVxCells::kLastHexCol;
constexpr int kCharCol = TVxCells::kCharCol;
} // namespace

int TVxGridGeometry::AddressDigitsFor(int32_t rowCount)
{
    // The first offset of the last row (the end position's row).
    const int32_t lastRow = rowCount - 1;
    uint32_t last = lastRow > 1 ? uint32_t(lastRow - 1) * uint32_t(TVxCells::kBytesPerRow) : 0u;
    int digits = 1;
    while (last >>= 4)
        ++digits;
    return std::max(digits, kMinAddressDigits);
}

void TVxGridGeometry::Layout(int charWidth, int rowHeight, bool hideOffsetHeader, bool hideByteView,
                             TVxColumnBytes columnBytes, int addressDigits, int addressTextWidth)
{
    FCharWidth = std::max(1, charWidth);
    FRowHeight = std::max(1, rowHeight);
    FAddressDigits = std::max(addressDigits, kMinAddressDigits);
    const int cell = 3 * FCharWidth;
    for (int &w : FWidths)
        w = cell;
    if (hideOffsetHeader) {
        FHeaderHeight = 0;
        FWidths[kAddressCol] = 0;
        // The address column is gone, so the character column keeps its distance from the
        // bytes with a wider gap.
        FWidths[kCharSpacerCol] = 3 * FCharWidth;
    } else {
        FHeaderHeight = FRowHeight;
        // The painter puts each character in a cell of its own: the text needs both widths.
        FWidths[kAddressCol] = std::max((FAddressDigits + 1) * FCharWidth, addressTextWidth) + kAddressMargin;
        FWidths[kCharSpacerCol] = 2 * FCharWidth;
    }
    FWidths[kAddressSpacerCol] = kSpacerWidth;
    FWidths[kCharCol] = hideByteView ? 0 : TVxCells::kBytesPerRow * FCharWidth;
    // Digits of one group stand together; only the last byte of a group carries the gap.
    const int group = GroupSize(columnBytes);
    for (int col = kFirstHexCol; col <= kLastHexCol; ++col) {
        const int b = col - kFirstHexCol;
        if (group > 1 && (b + 1) % group != 0)
            FWidths[col] = 2 * FCharWidth;
    }
    FFullWidth = 0;
    for (int w : FWidths)
        FFullWidth += w;
}

int TVxGridGeometry::ColLeft(int col, int leftCol) const
{
    if (col <= kAddressSpacerCol)
        return col == kAddressCol ? 0 : FWidths[kAddressCol];
    int x = FixedWidth();
    if (col >= leftCol) {
        for (int c = leftCol; c < col; ++c)
            x += FWidths[c];
    } else {
        for (int c = col; c < leftCol; ++c)
            x -= FWidths[c];
    }
    return x;
}

int TVxGridGeometry::ColAt(int x, int leftCol) const
{
    if (x < FWidths[kAddressCol])
        return kAddressCol;
    if (x < FixedWidth())
        return kAddressSpacerCol;
    int right = FixedWidth();
    for (int c = leftCol; c < kColCount; ++c) {
        right += FWidths[c];
        if (x < right)
            return c;
    }
    return -1;
}

int TVxGridGeometry::VisibleColCount(int clientWidth, int leftCol) const
{
    int right = FixedWidth();
    int count = 0;
    for (int c = leftCol; c < kColCount; ++c) {
        right += FWidths[c];
        if (right > clientWidth)
            break;
        ++count;
    }
    return std::max(1, count);
}

int TVxGridGeometry::MaxLeftCol(int clientWidth) const
{
    const int room = clientWidth - FixedWidth();
    int used = 0;
    int col = kColCount;
    while (col > kFirstHexCol && used + FWidths[col - 1] <= room) {
        used += FWidths[col - 1];
        --col;
    }
    return std::min(col, kColCount - 1);
}

int32_t TVxGridGeometry::VisibleRowCount(int clientHeight) const
{
    return std::max(1, (clientHeight - FHeaderHeight) / FRowHeight);
}

int64_t TVxGridGeometry::RowTop(int32_t row, int32_t topRow) const
{
    if (row == 0)
        return 0;
    return FHeaderHeight + int64_t(row - topRow) * FRowHeight;
}

int64_t TVxGridGeometry::RowAt(int y, int32_t topRow) const
{
    if (y < 0)
        return -1;
    if (y < FHeaderHeight)
        return 0;
    return topRow + int64_t(y - FHeaderHeight) / FRowHeight;
}
