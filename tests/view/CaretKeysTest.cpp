// Caret moves, the key map and selection, driven by key events.

#include "ViewTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
std::vector<uint8_t> Counting(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i);
    return v;
}
} // namespace

TEST_F(TViewTest, RowsAndEndPositionFollowTheSize)
{
    EXPECT_EQ(View->RowCount(), 2);
    EXPECT_EQ(View->EndCol(), 2);
    EXPECT_EQ(View->SelAnchor(), -1);
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_TRUE(View->IsEndCell(2, 1));

    Load(Counting(16));
    EXPECT_EQ(View->RowCount(), 3);
    EXPECT_TRUE(View->IsEndCell(2, 2));
    EXPECT_TRUE(View->SelectCell(2, 2));
    EXPECT_FALSE(View->SelectCell(3, 2));
    EXPECT_FALSE(View->SelectCell(2, 0));
    EXPECT_FALSE(View->SelectCell(18, 1));

    Load(Counting(15));
    EXPECT_EQ(View->RowCount(), 2);
    EXPECT_EQ(View->EndCol(), 17);
    EXPECT_TRUE(View->SelectCell(17, 1));
}

TEST_F(TViewTest, ArrowKeysAtTheEdges)
{
    Load(Counting(40));
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), 0);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Caret(), 0);
    EXPECT_EQ(Bytes(), Counting(40)); // Backspace moves, never deletes
    Key(Qt::Key_End);
    EXPECT_EQ(View->CurrentCell(), (TVxCell{17, 1}));
    Key(Qt::Key_Up); // row 1, column 17 goes to column 2
    EXPECT_EQ(View->CurrentCell(), (TVxCell{2, 1}));
    Key(Qt::Key_End);
    Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), 16);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), 15);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down); // last row holds offsets 32..40: column 17 is past the end
    EXPECT_EQ(Caret(), 31);
    EXPECT_EQ(View->SelAnchor(), 31); // the refused target did not take the anchor away

    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), 40);
    Key(Qt::Key_Right); // end position, end column < 17: stays
    EXPECT_EQ(Caret(), 40);
    EXPECT_EQ(View->SelAnchor(), 39);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret(), 32);
    Key(Qt::Key_End); // on the last row End means the end position
    EXPECT_EQ(Caret(), 40);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Caret(), 0);

    Load(Counting(15)); // end position at column 17
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), 15);
    Key(Qt::Key_Right);
    EXPECT_EQ(View->CurrentCell(), (TVxCell{2, 1}));
}

TEST_F(TViewTest, ShiftExtendsAndPlainMovesDrop)
{
    Load(Counting(40));
    ASSERT_TRUE(View->GotoOffset(5));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(View->SelAnchor(), 5);
    EXPECT_EQ(View->SelExtent(), 7);
    EXPECT_EQ(View->SelectionLength(), 3);
    int32_t a = 0, b = 0;
    View->GetSelectionRange(a, b);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 7);
    Key(Qt::Key_Right);
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_EQ(Caret(), 8);
    EXPECT_EQ(View->SelAnchor(), 8);

    // Shift+End on the last row selects up to the last byte, never the end position.
    ASSERT_TRUE(View->GotoOffset(34));
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Caret(), 40);
    EXPECT_EQ(View->SelAnchor(), 34);
    EXPECT_EQ(View->SelExtent(), 39);
    // Shift+Up selects backwards.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(View->SelExtent(), 24);
    EXPECT_TRUE(View->IsSelected(30));
    EXPECT_FALSE(View->IsSelected(40));
}

TEST_F(TViewTest, TabAndSpaceMoveWithoutSelectingAndKeepTheFocus)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QLineEdit;
    layout->addWidget(other);
    View->setParent(&window);
    layout->addWidget(View.get());
    Load(Counting(1000), 10);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    View->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(View->hasFocus());

    const int32_t page = View->VisibleRowCount();
    Key(Qt::Key_Tab);
    EXPECT_EQ(Caret(), 1);
    EXPECT_TRUE(View->hasFocus());
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Caret(), 0);
    EXPECT_TRUE(View->hasFocus());
    EXPECT_EQ(View->SelExtent(), -1);
    Key(Qt::Key_Space);
    EXPECT_EQ(Caret(), 16 * page);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret(), 32 * page);
    Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(Caret(), 16 * page);
    EXPECT_EQ(View->SelExtent(), -1);
    Key(Qt::Key_PageUp, Qt::ShiftModifier); // a real Page Up with Shift does select
    EXPECT_EQ(Caret(), 0);
    EXPECT_EQ(View->SelExtent(), 0);
    EXPECT_EQ(View->SelAnchor(), 16 * page);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret(), 1000);
    View->setParent(nullptr);
}

TEST_F(TViewTest, InsertKeyAndSettersRaiseTheirEventsOnlyOnChange)
{
    int editModes = 0, readOnlyModes = 0, moves = 0;
    View->OnChangeEditMode.Add([&] { ++editModes; });
    View->OnChangeReadOnlyMode.Add([&] { ++readOnlyModes; });
    View->OnMoveCell.Add([&] { ++moves; });
    Key(Qt::Key_Insert);
    EXPECT_TRUE(View->InsertMode());
    EXPECT_EQ(editModes, 1);
    View->SetInsertMode(true);
    EXPECT_EQ(editModes, 1);
    View->SetReadOnlyMode(true);
    View->SetReadOnlyMode(true);
    EXPECT_EQ(readOnlyModes, 1);
    View->SetHideOffsetHeader(false);
    EXPECT_EQ(moves, 0);
    View->SetHideOffsetHeader(true); // re-places the caret, which reports a move
    EXPECT_EQ(moves, 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(moves, 2);
}

TEST_F(TViewTest, JumpsAndSelectionFromTheHost)
{
    std::vector<uint8_t> bytes(40, 0x00);
    bytes[2] = 0x10;
    bytes[20] = 0x30;
    Load(bytes);
    int moves = 0;
    View->OnMoveCell.Add([&] { ++moves; });
    EXPECT_FALSE(View->GotoOffset(-1));
    EXPECT_FALSE(View->GotoOffset(41));
    EXPECT_EQ(moves, 0);
    EXPECT_TRUE(View->GotoOffset(40));
    EXPECT_EQ(View->SelAnchor(), 39);

    View->GotoOffset(2);
    View->OffsetJump();
    EXPECT_EQ(Caret(), 18);
    View->OffsetJump(); // a zero byte jumps one
    EXPECT_EQ(Caret(), 19);
    View->GotoOffset(20);
    View->OffsetJump(); // 20 + 0x30 lies past the end
    EXPECT_EQ(Caret(), 20);
    View->GotoOffset(40);
    View->OffsetJump();
    EXPECT_EQ(Caret(), 40);

    // Select-all, then a jump extends the selection from offset 0.
    moves = 0;
    View->SetSelection(0, 39);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(View->SelectionLength(), 40);
    View->GotoOffset(10);
    EXPECT_EQ(View->SelAnchor(), 0);
    EXPECT_EQ(View->SelExtent(), 10);
    // Dropping the selection puts the anchor back on the caret.
    View->SetSelection(25, -1);
    EXPECT_EQ(View->SelAnchor(), 10);
    EXPECT_EQ(View->SelectionLength(), 0);
}

TEST_F(TViewTest, ClipboardKeysReachTheHostWithThePasteOffset)
{
    Load(Counting(10));
    int copies = 0, cuts = 0;
    std::vector<int32_t> pastes;
    View->ClipboardCopy = [&] { ++copies; };
    View->ClipboardCut = [&] { ++cuts; };
    View->ClipboardPaste = [&](int32_t at) { pastes.push_back(at); };

    Key(Qt::Key_C, Qt::ControlModifier); // nothing selected
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(copies + cuts, 0);
    View->GotoOffset(4);
    Key(Qt::Key_V, Qt::ControlModifier);
    View->GotoOffset(9); // the last byte: paste appends
    Key(Qt::Key_V, Qt::ControlModifier);
    View->GotoOffset(10); // the end position: appends too
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pastes, (std::vector<int32_t>{4, 10, 10}));

    View->SetSelection(2, 5);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(cuts, 1);
    EXPECT_EQ(Bytes(), Counting(10)); // no typed "c", "x" or "v" reached the document

    View->SetReadOnlyMode(true);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(copies, 2);
    EXPECT_EQ(cuts, 1);
    EXPECT_EQ(pastes.size(), 3u);
}

TEST_F(TViewTest, AnchorFollowsTheCaretAfterDeletesAndUndo)
{
    Load(Counting(20));
    View->GotoOffset(19);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(View->FileSize(), 19);
    EXPECT_EQ(Caret(), 19); // now the end position
    EXPECT_EQ(View->SelAnchor(), 18);
    View->Undo();
    EXPECT_EQ(View->FileSize(), 20);
    EXPECT_EQ(Caret(), 19);
    EXPECT_EQ(View->SelAnchor(), 19);
    EXPECT_EQ(View->SelExtent(), -1);

    // Undo of a block edit with the caret elsewhere puts caret and anchor together.
    View->SetSelection(3, 6);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(View->FileSize(), 16);
    EXPECT_EQ(Caret(), 3);
    View->GotoOffset(12);
    View->Undo(); // restores 3..6 and puts the caret after them
    EXPECT_EQ(View->FileSize(), 20);
    EXPECT_EQ(Caret(), 7);
    EXPECT_EQ(View->SelAnchor(), 7);
    EXPECT_EQ(Bytes(), Counting(20));
}

TEST_F(TViewTest, EmptyDocumentNeverSelects)
{
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(View->SelAnchor(), -1);
    EXPECT_EQ(View->SelExtent(), -1);
    const QPoint p = CellPoint(2, 1);
    Press(p);
    MoveTo(p + QPoint(100, 40));
    Release(p + QPoint(100, 40));
    EXPECT_EQ(View->SelExtent(), -1);
    EXPECT_EQ(Caret(), 0);
    EXPECT_FALSE(View->CanDelete());
}
