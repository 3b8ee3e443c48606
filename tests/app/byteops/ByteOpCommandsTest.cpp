// The fill and bit operation commands on the selection: through their dialogs as a user
// drives them, one undo step each, the partial last unit told, refused without a selection
// and in read-only mode.

#include "TByteOpCommands.h"
#include "TFeatureFixture.h"
#include "TUnitOrderFields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
struct ByteOpCommandsTest : TFeatureTest {
    TByteOpCommands ops{fx.Context()};
    QByteArray original;

    void SetUp() override
    {
        for (int i = 0; i < 300; ++i)
            original.append(char(i * 7));
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        WriteTestFile(path, original);
        ed.LoadFromFile(path.toStdString());
        fx.Window.show();
    }
};
} // namespace

TEST_F(ByteOpCommandsTest, FillThroughTheDialogIsOneUndoStepAndKeepsTheSelection)
{
    EXPECT_FALSE(ops.acFillSelection->isEnabled());
    EXPECT_FALSE(ops.acBitOperation->isEnabled());
    ed.SetSelection(10, 20);
    ASSERT_TRUE(ops.acFillSelection->isEnabled());
    ASSERT_TRUE(DriveDialog<TfrmFill>(ops.acFillSelection, [&](TfrmFill &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("選択範囲を埋める"));
        EXPECT_EQ(d.focusWidget(), d.edtPattern);
        // Not hexadecimal: told, and the dialog stays for another try.
        QTest::keyClicks(d.edtPattern, QStringLiteral("A"));
        QTest::keyClick(d.edtPattern, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(ui.Messages.value(0), QStringLiteral("16進数の指定が正しくありません。"));
        d.edtPattern->setText(QStringLiteral("ab cd EF"));
        QTest::keyClick(d.edtPattern, Qt::Key_Return);
    }));
    QByteArray want = original;
    for (int i = 10; i <= 20; ++i)
        want[i] = "\xAB\xCD\xEF"[(i - 10) % 3];
    EXPECT_EQ(EditorBytes(ed), want);
    EXPECT_EQ(ed.UndoCount(), 1);
    EXPECT_EQ(ed.SelectionLength(), 11);
    ed.Undo();
    EXPECT_EQ(EditorBytes(ed), original);
    ed.Redo();
    EXPECT_EQ(EditorBytes(ed), want);

    // A sequence of big-endian words, chosen in the dialog; the last word cut at the end.
    ed.SetSelection(0, 4);
    ASSERT_TRUE(DriveDialog<TfrmFill>(ops.acFillSelection, [&](TfrmFill &d) {
        EXPECT_EQ(d.edtPattern->text(), QStringLiteral("ab cd EF")) << "the last pattern is kept";
        d.rbSequence->setChecked(true);
        d.edtStart->setText(QStringLiteral("FFFF"));
        d.edtStep->setText(QStringLiteral("2"));
        d.Unit->cmbUnit->setCurrentIndex(1);
        d.Unit->cmbOrder->setCurrentIndex(1);
        d.btnOk->click();
    }));
    EXPECT_EQ(EditorBytes(ed).left(5), QByteArray("\xFF\xFF\x00\x01\x00", 5));
    EXPECT_EQ(ed.UndoCount(), 2);
}

TEST_F(ByteOpCommandsTest, BitOperationTellsOfThePartialLastUnitAndRefusesWhatDoesNotFit)
{
    ed.SetSelection(1, 5); // five bytes: two 16-bit units and one byte left
    ASSERT_TRUE(DriveDialog<TfrmBitOperation>(ops.acBitOperation, [&](TfrmBitOperation &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ビット演算"));
        EXPECT_EQ(d.cmbOperation->currentText(), QStringLiteral("XOR"));
        EXPECT_EQ(d.focusWidget(), d.edtValue);
        d.Unit->cmbUnit->setCurrentIndex(1);
        d.edtValue->setText(QStringLiteral("12345"));
        d.btnOk->click();
        EXPECT_TRUE(d.isVisible()) << "a value wider than the unit is refused";
        d.cmbOperation->setCurrentIndex(d.cmbOperation->findText(QStringLiteral("加算")));
        d.edtValue->setText(QStringLiteral("0102"));
        d.btnOk->click();
    }));
    QByteArray want = original;
    for (int at : {1, 3}) { // little-endian words plus 0x0102
        const int v = ((uint8_t(original[at]) | uint8_t(original[at + 1]) << 8) + 0x0102) & 0xFFFF;
        want[at] = char(v & 0xFF);
        want[at + 1] = char(v >> 8);
    }
    EXPECT_EQ(EditorBytes(ed), want);
    ASSERT_EQ(ui.Messages.size(), 2);
    EXPECT_EQ(ui.Messages[1], QStringLiteral("選択範囲の最後の 1 バイトは単位（2 バイト）に満たないため、そのままにしました。"));
    ed.Undo();
    EXPECT_EQ(EditorBytes(ed), original);

    // Read-only: the commands go grey and do nothing even when called.
    ed.SetSelection(1, 5);
    ed.SetReadOnlyMode(true);
    EXPECT_FALSE(ops.acFillSelection->isEnabled());
    EXPECT_FALSE(ops.acBitOperation->isEnabled());
    TfrmBitOperation::TChoice invert;
    invert.Op = TVxBitOperation::TOp::Not;
    EXPECT_FALSE(ops.BitOperation(invert));
    EXPECT_EQ(EditorBytes(ed), original);
    ed.SetReadOnlyMode(false);
    EXPECT_TRUE(ops.BitOperation(invert));
    EXPECT_EQ(uint8_t(EditorBytes(ed)[1]), uint8_t(~original[1]));
}
