// Typing bytes as pairs of hexadecimal digits, and the Delete key.

#include "ViewTestSupport.h"

using Bytes_t = std::vector<uint8_t>;

TEST_F(TViewTest, OverwriteTakesTwoDigitsAsOneRecordedByte)
{
    Load({0xFF, 0xEE, 0xDD});
    Type("a");
    EXPECT_EQ(Bytes(), (Bytes_t{0x0A, 0xEE, 0xDD}));
    EXPECT_TRUE(View->HalfByte());
    EXPECT_EQ(Caret(), 0);
    Type("5");
    EXPECT_EQ(Bytes(), (Bytes_t{0xA5, 0xEE, 0xDD}));
    EXPECT_EQ(Caret(), 1);
    EXPECT_FALSE(View->HalfByte());
    ASSERT_EQ(View->UndoCount(), 1);
    EXPECT_EQ(View->UndoList().Newest().Kind, ukOverwriteByte);
    View->Undo();
    EXPECT_EQ(Bytes(), (Bytes_t{0xFF, 0xEE, 0xDD}));
    EXPECT_EQ(Caret(), 0);
}

TEST_F(TViewTest, AHalfTypedByteSurvivesOnlyKeysThatDoNotMove)
{
    Load({0xFF, 0xEE, 0xDD});
    Type("a");
    Key(Qt::Key_Escape);
    Type("x"); // not a digit: ignored, pair still open
    Type("B");
    EXPECT_EQ(Bytes(), (Bytes_t{0xAB, 0xEE, 0xDD}));
    Type("c");
    Key(Qt::Key_Right); // abandons the pair
    Type("7");
    EXPECT_EQ(Bytes(), (Bytes_t{0xAB, 0x0C, 0x07}));
    EXPECT_EQ(Caret(), 2);
}

TEST_F(TViewTest, InsertModeInsertsOneBytePerPair)
{
    Load({0x00, 0x11, 0x22, 0x33});
    View->SetInsertMode(true);
    View->GotoOffset(3);
    Type("7f");
    EXPECT_EQ(Bytes(), (Bytes_t{0x00, 0x11, 0x22, 0x7F, 0x33}));
    EXPECT_EQ(Caret(), 4);
    ASSERT_EQ(View->UndoCount(), 1);
    EXPECT_EQ(View->UndoList().Newest().Kind, ukInsertByte);
    View->Undo();
    EXPECT_EQ(Bytes(), (Bytes_t{0x00, 0x11, 0x22, 0x33}));
    // Pairs in a row: each one byte, the caret after the last.
    View->GotoOffset(0);
    Type("0102");
    EXPECT_EQ(Bytes(), (Bytes_t{0x01, 0x02, 0x00, 0x11, 0x22, 0x33}));
    EXPECT_EQ(Caret(), 2);
}

TEST_F(TViewTest, TypingAtTheEndPositionAppendsInOverwriteMode)
{
    Load(Bytes_t(15, 0x11));
    Key(Qt::Key_End, Qt::ControlModifier);
    Type("9");
    EXPECT_EQ(View->FileSize(), 16);
    Type("9");
    EXPECT_EQ(View->FileSize(), 16);
    EXPECT_EQ(Bytes().back(), 0x99);
    EXPECT_EQ(View->CurrentCell(), (TVxCell{2, 2})); // the new end position
    EXPECT_EQ(View->UndoList().Newest().Kind, ukInsertByte);
}

TEST_F(TViewTest, ADigitReplacesTheSelectionByOneByte)
{
    Load({0, 1, 2, 3, 4, 5, 6});
    View->GotoOffset(2);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(View->SelectionLength(), 3);
    Type("c");
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_EQ(Caret(), 2);
    Type("d");
    EXPECT_EQ(Bytes(), (Bytes_t{0, 1, 0xCD, 5, 6}));
    EXPECT_EQ(Caret(), 3);
    ASSERT_EQ(View->UndoCount(), 1);
    View->Undo();
    EXPECT_EQ(Bytes(), (Bytes_t{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(TViewTest, ShiftForAnUpperCaseDigitDoesNotSelect)
{
    Load({0, 1, 2, 3, 4, 5});
    Type("4A4B"); // "A" and "B" arrive with Shift held
    EXPECT_EQ(Bytes(), (Bytes_t{0x4A, 0x4B, 2, 3, 4, 5}));
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_EQ(Caret(), 2);
    EXPECT_EQ(View->SelAnchor(), 2);
}

TEST_F(TViewTest, ReadOnlyRefusesTypingAndDeleting)
{
    Load({1, 2, 3});
    View->SetReadOnlyMode(true);
    Type("ff");
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (Bytes_t{1, 2, 3}));
    EXPECT_FALSE(View->CanDelete());
    EXPECT_EQ(View->UndoCount(), 0);
    View->SetReadOnlyMode(false);
    EXPECT_TRUE(View->CanDelete());
}

TEST_F(TViewTest, CtrlDeleteRemovesTheSelectionOrTheByteUnderTheCaret)
{
    Load({0, 1, 2, 3, 4, 5});
    Key(Qt::Key_Delete); // plain Delete belongs to the host's command
    EXPECT_EQ(View->FileSize(), 6);
    View->GotoOffset(1);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (Bytes_t{0, 2, 3, 4, 5}));
    EXPECT_EQ(Caret(), 1);
    View->SetSelection(1, 3);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (Bytes_t{0, 5}));
    EXPECT_EQ(Caret(), 1);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(View->CanDelete());
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (Bytes_t{0, 5}));
    // A half-typed byte is abandoned when the byte under it goes away.
    View->GotoOffset(0);
    Type("e");
    Key(Qt::Key_Delete, Qt::ControlModifier);
    Type("1");
    EXPECT_EQ(Bytes(), (Bytes_t{0x01}));
    EXPECT_TRUE(View->HalfByte());
}
