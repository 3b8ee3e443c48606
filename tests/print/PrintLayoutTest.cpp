// The page layout's arithmetic, without any device: margins, lines per page, pages, the
// character column and the clipping of partial rows and split characters.

#include "TPrintLayout.h"
#include "TVxTextFilter.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {
TPrintPageSetup PageSetup(int32_t pageHeight, bool header = true, bool footer = true)
{
    TPrintPageSetup s;
    s.DpiX = 600;
    s.DpiY = 1200;
    s.PageHeight = pageHeight;
    s.LineHeight = 100;
    s.CharWidth = 50;
    s.TopMargin = 10;
    s.BottomMargin = 20;
    s.LeftMargin = 15;
    s.Header = header;
    s.Footer = footer;
    return s;
}
} // namespace

TEST(PrintLayout, MarginsTruncateWithTheProductFirst)
{
    EXPECT_EQ(TPrintLayout::MillimetresToDots(10, 600), 236);  // 236.22
    EXPECT_EQ(TPrintLayout::MillimetresToDots(1, 96), 3);      // 3.78: dividing first would give 0
    EXPECT_EQ(TPrintLayout::MillimetresToDots(999, 9600), 377574); // no overflow at the limits
    const TPrintLayout l(PageSetup(10000), 0, 0, 57);
    EXPECT_EQ(l.Left(), 354);   // 15 mm across at 600 dpi
    EXPECT_EQ(l.Top(), 472);    // 10 mm down at 1200 dpi
    EXPECT_EQ(l.Bottom(), 944); // 20 mm
}

TEST(PrintLayout, LinesPerPageLeaveTwoLinesForHeaderAndForFooter)
{
    // (10000 - 472 - 944) / 100 = 85 line heights fit.
    EXPECT_EQ(TPrintLayout(PageSetup(10000), 0, 0, 57).LinesPerPage(), 81);
    EXPECT_EQ(TPrintLayout(PageSetup(10000, true, false), 0, 0, 57).LinesPerPage(), 83);
    EXPECT_EQ(TPrintLayout(PageSetup(10000, false, false), 0, 0, 57).LinesPerPage(), 85);
    // Four line heights with header and footer: no line for data.
    EXPECT_FALSE(TPrintLayout(PageSetup(472 + 944 + 499), 0, 0, 57).Fits());
    EXPECT_EQ(TPrintLayout(PageSetup(472 + 944 + 500), 0, 0, 57).LinesPerPage(), 1);
    // Margins beyond the page.
    EXPECT_FALSE(TPrintLayout(PageSetup(1000), 0, 0, 57).Fits());
}

TEST(PrintLayout, PagesAndSlots)
{
    const TPrintPageSetup s = PageSetup(472 + 944 + 900); // 9 fit, 5 lines per page
    const TPrintLayout one(s, 0, 0, 57);
    EXPECT_EQ(one.Rows(), 1);
    EXPECT_EQ(one.Pages(), 1);
    const TPrintLayout full(s, 0, 5 * 16 - 1, 57);
    EXPECT_EQ(full.Pages(), 1);
    const TPrintLayout more(s, 0, 5 * 16, 57); // L + 1 rows
    EXPECT_EQ(more.Rows(), 6);
    EXPECT_EQ(more.Pages(), 2);
    EXPECT_EQ(more.RowAt(2, 0), 5);
    EXPECT_TRUE(more.RowPrinted(5));
    EXPECT_FALSE(more.RowPrinted(more.RowAt(2, 1)));
    // A range starting mid-file counts its rows from the row of its first byte.
    const TPrintLayout mid(s, 5 * 16 + 15, 10 * 16, 57);
    EXPECT_EQ(mid.FirstRow(), 5);
    EXPECT_EQ(mid.Rows(), 6);
    EXPECT_EQ(mid.RowAt(1, 0), 5);
    // Header at the top margin, lines two heights below it, footer two below the slot after
    // the last one.
    EXPECT_EQ(more.HeaderY(), 472);
    EXPECT_EQ(more.LineY(0), 672);
    EXPECT_EQ(more.LineY(4), 1072);
    EXPECT_EQ(more.FooterY(), 1372);
    const TPrintLayout bare(PageSetup(472 + 944 + 900, false, false), 0, 0, 57);
    EXPECT_EQ(bare.LineY(0), 472);
}

TEST(PrintLayout, CharacterColumnFollowsTheDumpLine)
{
    const TPrintLayout withAddress(PageSetup(10000), 0, 0, 57);
    EXPECT_EQ(withAddress.CharLeft(), 354 + 58 * 50);
    EXPECT_EQ(withAddress.CharRight(), withAddress.CharLeft() + 16 * 50);
    const TPrintLayout hidden(PageSetup(10000), 0, 0, 49);
    EXPECT_EQ(withAddress.CharLeft() - hidden.CharLeft(), 8 * 50);
}

TEST(PrintLayout, PartialRowsAreClippedToTheRange)
{
    const TPrintLayout l(PageSetup(10000), 5, 20, 57);
    const int32_t cx0 = l.CharLeft(), cx1 = l.CharRight();
    const TPrintRowClip r0 = l.RowClip(0, 100);
    EXPECT_EQ(r0.TextFrom, 0);
    EXPECT_EQ(r0.TextEnd, 17);
    EXPECT_EQ(r0.TextX, cx0);
    EXPECT_EQ(r0.ClipLeft, cx0 + 5 * 50);
    EXPECT_EQ(r0.ClipRight, cx1);
    const TPrintRowClip r1 = l.RowClip(1, 100);
    EXPECT_EQ(r1.TextFrom, 13);
    EXPECT_EQ(r1.TextX, cx0 - 3 * 50);
    EXPECT_EQ(r1.ClipLeft, cx0);
    EXPECT_EQ(r1.ClipRight, cx1 - 11 * 50);
    // The text stops at the document's end.
    EXPECT_EQ(l.RowClip(1, 21).TextEnd, 21);
}

TEST(PrintLayout, ASplitPairShowsInBothRowsAndOnlyVisiblePiecesAreDrawn)
{
    // Bytes 13..32 of a document: 'A' x 2, a pair at 15/16 across the row end, 'B' ...
    const TPrintLayout l(PageSetup(10000), 0, 47, 57);
    std::string bytes = "AA";
    bytes += "\x82\xA0";
    bytes += std::string(15, 'B');
    bytes += "C";
    uint8_t spans[32];
    const std::string text = TVxTextFilter::FilterText(reinterpret_cast<const uint8_t *>(bytes.data()),
                                                       bytes.size(), ccSJIS, false, spans);
    const TPrintRowClip r1 = l.RowClip(1, 48); // text from 13
    const auto pieces = TPrintLayout::Pieces(r1, 50, text.data(), spans, int32_t(text.size()));
    ASSERT_EQ(pieces.size(), 2u);
    // The pair starts one cell before the column and reaches into it.
    EXPECT_FALSE(pieces[0].Ascii);
    EXPECT_EQ(pieces[0].Index, 2);
    EXPECT_EQ(pieces[0].Count, 2);
    EXPECT_EQ(pieces[0].Cells, 2);
    EXPECT_EQ(pieces[0].X, l.CharLeft() - 50);
    // Then one run of the 15 'B' in cells 1..15; the byte after the row is not drawn.
    EXPECT_TRUE(pieces[1].Ascii);
    EXPECT_EQ(pieces[1].Count, 15);
    EXPECT_EQ(pieces[1].X, l.CharLeft() + 50);

    // Row 0 sees the same pair from its first byte, in its last cell.
    const std::string row0 = std::string(15, 'A') + "\x82\xA0";
    const std::string t0 = TVxTextFilter::FilterText(reinterpret_cast<const uint8_t *>(row0.data()), row0.size(),
                                                     ccSJIS, false, spans);
    const auto p0 = TPrintLayout::Pieces(l.RowClip(0, 48), 50, t0.data(), spans, int32_t(t0.size()));
    ASSERT_EQ(p0.size(), 2u);
    EXPECT_EQ(p0[0].Count, 15);
    EXPECT_EQ(p0[1].X, l.CharLeft() + 15 * 50);
    EXPECT_EQ(p0[1].Cells, 2);
}

TEST(PrintLayout, TheLastRowOfTheLargestDocumentComputes)
{
    const int32_t last = INT32_MAX - 1; // the last byte of a 2147483647-byte document
    const TPrintLayout l(PageSetup(10000), last, last, 57);
    EXPECT_EQ(l.FirstRow(), last / 16);
    EXPECT_EQ(l.Rows(), 1);
    const TPrintRowClip c = l.RowClip(l.FirstRow(), INT32_MAX);
    EXPECT_EQ(c.RowStart, int64_t(last / 16) * 16);
    EXPECT_EQ(c.TextEnd, INT32_MAX);
    EXPECT_EQ(c.ClipLeft, l.CharLeft() + 14 * 50);
    EXPECT_EQ(c.ClipRight, l.CharRight() - 50); // the row has no byte in its last cell
}
