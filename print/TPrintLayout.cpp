#include "TPrintLayout.h"

#include "TVxTextFilter.h"

#include <algorithm>

TPrintLayout::TPrintLayout(const TPrintPageSetup &setup, int32_t first, int32_t last, int32_t dumpLineLength)
    : FSetup(setup), FFirst(first), FLast(last)
{
    FLeft = MillimetresToDots(setup.LeftMargin, setup.DpiX);
    FTop = MillimetresToDots(setup.TopMargin, setup.DpiY);
    FBottom = MillimetresToDots(setup.BottomMargin, setup.DpiY);
    // A font without height cannot place a line: no line fits.
    const int32_t fit = setup.LineHeight > 0 ? (setup.PageHeight - FTop - FBottom) / setup.LineHeight : 0;
    FLines = fit - (setup.Header ? 2 : 0) - (setup.Footer ? 2 : 0);
    FCharLeft = FLeft + (dumpLineLength + 1) * setup.CharWidth;
    FCharRight = FLeft + (dumpLineLength + 17) * setup.CharWidth;
    FFirstRow = first / 16;
    FRows = last / 16 - FFirstRow + 1;
    if (FLines > 0)
        FPages = FRows / FLines + (FRows % FLines != 0 ? 1 : 0);
}

int32_t TPrintLayout::MillimetresToDots(int32_t mm, int32_t dpi)
{
    return static_cast<int32_t>(int64_t(mm) * dpi * 10 / 254);
}

int32_t TPrintLayout::LineY(int32_t slot) const
{
    return FTop + (FSetup.Header ? 2 * FSetup.LineHeight : 0) + slot * FSetup.LineHeight;
}

int64_t TPrintLayout::RowAt(int32_t page, int32_t slot) const
{
    return int64_t(FFirstRow) + int64_t(page - 1) * FLines + slot;
}

TPrintRowClip TPrintLayout::RowClip(int64_t row, int32_t fileSize) const
{
    const int32_t cw = FSetup.CharWidth;
    TPrintRowClip c;
    c.RowStart = row * 16;
    c.TextFrom = std::max<int64_t>(0, c.RowStart - 3);
    c.TextEnd = std::min<int64_t>(c.RowStart + 17, fileSize);
    c.TextX = FCharLeft - static_cast<int32_t>(c.RowStart - c.TextFrom) * cw;
    c.ClipLeft = FFirst > c.RowStart ? FCharLeft + static_cast<int32_t>(FFirst - c.RowStart) * cw : FCharLeft;
    c.ClipRight = FLast < c.RowStart + 15 ? FCharRight - static_cast<int32_t>(c.RowStart + 15 - FLast) * cw
                                          : FCharRight;
    return c;
}

std::vector<TPrintCharPiece> TPrintLayout::Pieces(const TPrintRowClip &clip, int32_t charWidth, const char *text,
                                                  const uint8_t *spans, int32_t count)
{
    std::vector<TPrintCharPiece> pieces;
    Pieces(clip, charWidth, text, spans, count, pieces);
    return pieces;
}

void TPrintLayout::Pieces(const TPrintRowClip &clip, int32_t charWidth, const char *text, const uint8_t *spans,
                          int32_t count, std::vector<TPrintCharPiece> &pieces)
{
    const size_t first = pieces.size();
    for (int32_t i = 0; i < count;) {
        const int32_t cells = spans[i] == TVxTextFilter::kPair && i + 1 < count ? 2 : 1;
        const int32_t x = clip.TextX + i * charWidth;
        const bool visible = x + cells * charWidth > clip.ClipLeft && x < clip.ClipRight;
        if (visible) {
            const auto b = static_cast<uint8_t>(text[i]);
            const bool ascii = cells == 1 && b >= 0x20 && b <= 0x7E;
            TPrintCharPiece *last = pieces.size() == first ? nullptr : &pieces.back();
            if (ascii && last && last->Ascii && last->Index + last->Count == i) {
                ++last->Count;
                ++last->Cells;
            } else {
                pieces.push_back(TPrintCharPiece{i, cells, x, cells, ascii});
            }
        }
        i += cells;
    }
}
