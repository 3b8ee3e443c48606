// Mouse presses and drags: the caret, the selection, the character column's mapping.

#include "ViewTestSupport.h"

namespace {
std::vector<uint8_t> Filled(size_t n) { return std::vector<uint8_t>(n, 0x41); }
} // namespace

TEST_F(TViewTest, PressAndDragSelectBytes)
{
    Load(Filled(100));
    Press(CellPoint(5, 2)); // offset 19
    EXPECT_EQ(Caret(), 19);
    EXPECT_EQ(View->SelExtent(), -1);
    MoveTo(CellPoint(8, 3)); // offset 38
    Release(CellPoint(8, 3));
    EXPECT_EQ(View->SelAnchor(), 19);
    EXPECT_EQ(View->SelExtent(), 38);
    EXPECT_EQ(Caret(), 38);
    EXPECT_FALSE(View->Selecting());
    // A later plain key drops the selection: the drag has ended.
    Key(Qt::Key_Left);
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_EQ(Caret(), 37);

    // Shift+press extends from the anchor.
    Press(CellPoint(2, 1), Qt::ShiftModifier);
    Release(CellPoint(2, 1));
    EXPECT_EQ(View->SelAnchor(), 37);
    EXPECT_EQ(View->SelExtent(), 0);
}

TEST_F(TViewTest, TheCharacterColumnMapsToTheByteUnderThePointer)
{
    Load(Filled(100));
    const int cw = View->CharWidth();
    Press(CellPoint(19, 3, 5 * cw + cw / 2)); // sixth character of row 3
    Release(CellPoint(19, 3, 5 * cw + cw / 2));
    EXPECT_EQ(Caret(), 32 + 5);
    // The address column and spacers map to the nearest byte column.
    Press(CellPoint(0, 2));
    Release(CellPoint(0, 2));
    EXPECT_EQ(Caret(), 16);
    Press(CellPoint(18, 2));
    Release(CellPoint(18, 2));
    EXPECT_EQ(Caret(), 31);
}

TEST_F(TViewTest, DraggingPastTheEndSelectsUpToTheLastByte)
{
    Load(Filled(40)); // last row 3 ends at column 10
    Press(CellPoint(4, 1));
    MoveTo(CellPoint(15, 3)); // beyond the end position: the grid refuses the cell
    Release(CellPoint(15, 3));
    EXPECT_EQ(View->SelAnchor(), 2);
    EXPECT_EQ(View->SelExtent(), 39);
}

TEST_F(TViewTest, DraggingAboveTheRowsScrollsUpOneRowPerMove)
{
    Load(Filled(16 * 200), 10);
    View->GotoOffset(16 * 100);
    const int32_t top = View->TopRow();
    ASSERT_GT(top, 50);
    const QPoint inside = CellPoint(6, top + 2);
    Press(inside);
    const QPoint above(inside.x(), -20);
    MoveTo(above);
    EXPECT_EQ(View->Row(), top - 1);
    EXPECT_EQ(View->TopRow(), top - 1);
    MoveTo(above);
    MoveTo(above);
    EXPECT_EQ(View->Row(), top - 3);
    Release(above);
    EXPECT_EQ(View->SelAnchor(), TVxHexcavator::CellToOffset(6, top + 2));
    EXPECT_EQ(View->SelExtent(), TVxHexcavator::CellToOffset(6, top - 3));
}
