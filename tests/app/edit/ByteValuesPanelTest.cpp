// The byte values panel: its values for known byte patterns in both byte orders, at the end of
// the document and for selections; the panel following the caret in the real window; the
// character code commands and the panel's place surviving a restart.

#include "FakeUi.h"
#include "TByteValuesPanel.h"
#include "TByteValues.h"
#include "TSettingsFile.h"
#include "TVxCharDecoder.h"

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include "TByteValuesTable.h"
#include <QTest>
#include <gtest/gtest.h>

namespace {
using V = TByteValues;

V Values(std::vector<uint8_t> bytes, int32_t selStart = -1, int32_t selEnd = -1)
{
    V v;
    v.Compute(bytes.data(), int(bytes.size()), V::TCharAtCaret{}, selStart, selEnd);
    return v;
}

QString Cell(TfrmMain &frm, V::TRow row, int col = 0)
{
    return frm.findChild<TByteValuesTable *>(QStringLiteral("ByteValuesPanelView"))->CellText(row, V::TOrder(col));
}
} // namespace

TEST(ByteValues, IntegersAndFloatsInBothByteOrders)
{
    const V v = Values({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x80});
    EXPECT_EQ(v.Text(V::rBinary), "00000001");
    EXPECT_EQ(v.Text(V::rInt16), "513");
    EXPECT_EQ(v.Text(V::rInt16, V::oBig), "258");
    EXPECT_EQ(v.Text(V::rInt32), "67305985");
    EXPECT_EQ(v.Text(V::rUInt32, V::oBig), "16909060");
    EXPECT_EQ(v.Text(V::rInt64), "-9221395093405892095");
    EXPECT_EQ(v.Text(V::rUInt64), "9225348980303659521");
    EXPECT_EQ(v.Text(V::rInt64, V::oBig), "72623859790382976");
    EXPECT_EQ(v.Text(V::rUInt64, V::oBig), "72623859790382976");

    const V neg = Values({0xFF, 0xFE, 0x80});
    EXPECT_EQ(neg.Text(V::rBinary), "11111111");
    EXPECT_EQ(neg.Text(V::rInt8), "-1");
    EXPECT_EQ(neg.Text(V::rUInt8), "255");
    EXPECT_EQ(neg.Text(V::rInt16), "-257");
    EXPECT_EQ(neg.Text(V::rInt16, V::oBig), "-2");
    EXPECT_EQ(neg.Text(V::rUInt16), "65279");
    EXPECT_EQ(neg.Text(V::rUInt16, V::oBig), "65534");

    // 3.14f little-endian; 0.1 little-endian, and 1.0 big-endian read the other way round.
    EXPECT_EQ(Values({0xC3, 0xF5, 0x48, 0x40}).Text(V::rFloat32), "3.14");
    EXPECT_EQ(Values({0x40, 0x48, 0xF5, 0xC3}).Text(V::rFloat32, V::oBig), "3.14");
    const V d = Values({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F});
    EXPECT_EQ(d.Text(V::rFloat64), "0.1");
    const V one = Values({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    EXPECT_EQ(one.Text(V::rFloat64), "1");
    EXPECT_EQ(one.Text(V::rFloat64, V::oBig), "3.03865e-319");
    EXPECT_EQ(Values({0, 0, 0xC0, 0x7F}).Text(V::rFloat32), "NaN");
    EXPECT_EQ(Values({0, 0, 0x80, 0xFF}).Text(V::rFloat32), "-∞");
}

// The longest text a value takes, a 24-character double in both byte orders (the bytes read
// the same both ways), shows whole in the table's cells.
TEST(ByteValues, TheWidestFloatsFitTheirCells)
{
    const V v = Values({0x80, 0x07, 0x42, 0x34, 0x34, 0x42, 0x07, 0x80});
    ASSERT_EQ(v.Text(V::rFloat64), QStringLiteral("-1.0094338309305434e-308"));
    ASSERT_EQ(v.Text(V::rFloat64, V::oBig), v.Text(V::rFloat64));
    TByteValuesTable table;
    for (int pointSize : {9, 12, 20}) {
        QFont f = table.font();
        f.setPointSize(pointSize);
        table.setFont(f);
        table.SetValues(v);
        for (V::TRow row : {V::rFloat64, V::rInt64, V::rFloat32})
            for (V::TOrder order : {V::oLittle, V::oBig})
                EXPECT_TRUE(table.Fits(row, order)) << pointSize << " " << row << " " << order;
    }
}

TEST(ByteValues, ValuesPastTheEndAreEmptyAndSelectionsCount)
{
    const V three = Values({0x10, 0x20, 0x30});
    EXPECT_EQ(three.Text(V::rUInt16), "8208");
    for (V::TRow r : {V::rInt32, V::rUInt32, V::rInt64, V::rUInt64, V::rFloat32, V::rFloat64})
        for (V::TOrder o : {V::oLittle, V::oBig})
            EXPECT_TRUE(three.Text(r, o).isEmpty()) << r;
    const V none = Values({});
    for (int r = 0; r < V::kRowCount; ++r)
        EXPECT_TRUE(none.Text(V::TRow(r)).isEmpty()) << r;

    const V sel = Values({1}, 16, 1039);
    EXPECT_EQ(sel.Text(V::rSelStart), "16 (0x10)");
    EXPECT_EQ(sel.Text(V::rSelEnd), "1,039 (0x40F)");
    EXPECT_EQ(sel.Text(V::rSelLength), "1,024 (0x400)");
    EXPECT_EQ(Values({1}, 2147483646, 2147483646).Text(V::rSelLength), "1 (0x1)");
    EXPECT_TRUE(Values({1}).Text(V::rSelLength).isEmpty());
}

TEST(ByteValues, TheCharacterAndItsCodePoint)
{
    auto text = [](char32_t code, int span, std::vector<uint8_t> bytes) {
        V::TCharAtCaret ch{true, code, span, {}};
        std::copy(bytes.begin(), bytes.end(), ch.Bytes);
        V v;
        v.Compute(bytes.data(), int(bytes.size()), ch, -1, -1);
        return v.Text(V::rChar);
    };
    EXPECT_EQ(text(0x3042, 3, {0xE3, 0x81, 0x82}), QStringLiteral("あ  U+3042"));
    EXPECT_EQ(text(0x1F600, 4, {0xF0, 0x9F, 0x98, 0x80}), QStringLiteral("😀  U+1F600"));
    EXPECT_EQ(text(0x0A, 1, {0x0A}), QStringLiteral("U+000A (制御文字)"));
    EXPECT_EQ(text(TVxCharDecoder::kInvalid, 1, {0x80}), QStringLiteral("(不正なバイト)"));
    EXPECT_EQ(text(TVxCharDecoder::kUnmapped, 2, {0xA9, 0xA1}), QStringLiteral("(未定義) 0xA9A1"));
}

struct ByteValuesPanelTest : TWindowTest {};

TEST_F(ByteValuesPanelTest, ThePanelFollowsTheCaretAndTheCharacterCode)
{
    QAction *toggle = frm.findChild<QAction *>(QStringLiteral("acViewByteValues"));
    EXPECT_EQ(toggle->text(), QStringLiteral("データインスペクタ(&D)"));
    EXPECT_TRUE(toggle->isCheckable());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))->windowTitle(), QStringLiteral("データインスペクタ"));
    // In the View menu, with UTF-8 after UNICODE in the character code submenu.
    QMenu *view = frm.menuBar()->actions()[2]->menu();
    EXPECT_TRUE(view->actions().contains(toggle));
    const QList<QAction *> codes = view->actions()[0]->menu()->actions();
    ASSERT_GE(codes.size(), 4);
    EXPECT_EQ(codes[2], Command(frm, "acUnicodeByte"));
    EXPECT_EQ(codes[3], Command(frm, "acUtf8Byte"));
    EXPECT_EQ(Command(frm, "acUtf8Byte")->text(), QStringLiteral("UTF-&8"));
    for (QAction *c : {Command(frm, "acEucByte"), Command(frm, "acUnicodeByte"), Command(frm, "acUtf8Byte"),
                       Command(frm, "acJisByte"), Command(frm, "acCharTable")})
        EXPECT_TRUE(c->isVisible() && c->isEnabled()) << c->objectName().toStdString();

    const QString path = dir.filePath(QStringLiteral("t.bin"));
    // "A", あ in UTF-8, then 1.0 as a little-endian float.
    WriteTestFile(path, QByteArray("A\xE3\x81\x82\x00\x00\x80\x3F", 8));
    frm.OpenFile(path);
    frm.show();
    toggle->trigger();
    EXPECT_FALSE(frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))->isHidden());
    EXPECT_EQ(Cell(frm, V::rUInt8), "65");
    Command(frm, "acUtf8Byte")->trigger();
    EXPECT_EQ(frm.PanelText(3), "UTF-8");
    EXPECT_EQ(Cell(frm, V::rChar), QStringLiteral("A  U+0041"));
    QTest::keyClick(&ed, Qt::Key_Right);
    QTest::keyClick(&ed, Qt::Key_Right); // inside あ: the panel names the whole character
    EXPECT_EQ(Cell(frm, V::rChar), QStringLiteral("あ  U+3042"));
    QTest::keyClick(&ed, Qt::Key_Right);
    QTest::keyClick(&ed, Qt::Key_Right);
    EXPECT_EQ(Cell(frm, V::rFloat32), "1");
    EXPECT_EQ(Cell(frm, V::rUInt32, 1), "32831");
    EXPECT_TRUE(Cell(frm, V::rFloat64).isEmpty());
    Command(frm, "acEucByte")->trigger();
    EXPECT_EQ(frm.PanelText(3), "EUC");
    EXPECT_EQ(Cell(frm, V::rChar), QStringLiteral("U+0000 (制御文字)"));
    Command(frm, "acUnicodeByte")->trigger();
    EXPECT_EQ(frm.PanelText(3), "UNICODE");
    EXPECT_EQ(ed.CharCode(), ccUNICODE);
    QTest::keyClick(&ed, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Cell(frm, V::rSelStart), "3 (0x3)");
    EXPECT_EQ(Cell(frm, V::rSelLength), "2 (0x2)");
    // An edit at the caret shows at once.
    Command(frm, "acReadOnly")->trigger();
    QTest::keyClick(&ed, Qt::Key_Escape);
    QTest::keyClicks(&ed, "7");
    EXPECT_EQ(Cell(frm, V::rUInt8), "7");
    // Closed from its own title bar, the command is unchecked.
    frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))->close();
    EXPECT_FALSE(toggle->isChecked());
}

TEST(ByteValuesPanelSettings, CodesAndThePanelSurviveARestart)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    {
        TfrmMain frm;
        frm.show();
        Command(frm, "acUtf8Byte")->trigger();
        frm.findChild<QAction *>(QStringLiteral("acViewByteValues"))->trigger();
        frm.addDockWidget(Qt::LeftDockWidgetArea, frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel")));
        frm.resizeDocks({frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))}, {333}, Qt::Horizontal);
        QApplication::processEvents();
    } // the last instance writes at exit
    const QByteArray text = ReadTestFile(settings.Ini());
    // CharCode keeps its two values; the new keys come after the old ones of the section.
    EXPECT_TRUE(text.contains("CharCode=0\r\n") || text.contains("CharCode=0\n")) << text.toStdString();
    EXPECT_LT(text.indexOf("JumpAddres="), text.indexOf("CharCodeName=UTF-8"));
    EXPECT_LT(text.indexOf("CharCodeName="), text.indexOf("ViewByteValues=1"));
    EXPECT_TRUE(text.contains("ByteValuesPanelArea=Left"));
    EXPECT_LT(text.indexOf("ByteValuesPanelSize="), text.indexOf("[Find]"));
    const TSettings r = TSettingsFile().Load();
    EXPECT_NEAR(r.ByteValuesPanelSize, 333, 8);
    {
        TfrmMain frm;
        EXPECT_EQ(frm.VxHexcavator1->CharCode(), ccUTF8);
        EXPECT_TRUE(Command(frm, "acUtf8Byte")->isChecked());
        EXPECT_EQ(frm.PanelText(3), "UTF-8");
        EXPECT_FALSE(frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))->isHidden());
        EXPECT_EQ(frm.dockWidgetArea(frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))), Qt::LeftDockWidgetArea);
    }
    // CharCode 1 is Shift-JIS whatever the name says; a name without an offered code is ASCII.
    for (auto [ini, code] : {std::pair{"[Settings]\nCharCode=1\nCharCodeName=UTF-8\n", ccSJIS},
                             {"[Settings]\nCharCode=0\nCharCodeName=EUC\n", ccEUC},
                             {"[Settings]\nCharCode=0\nCharCodeName=UNICODE\n", ccUNICODE},
                             {"[Settings]\nCharCode=0\nCharCodeName=JIS\n", ccJIS},
                             {"[Settings]\nCharCodeName=UTF-16\n", ccASCII}}) {
        WriteTestFile(settings.Ini(), QByteArray(ini));
        TfrmMain frm;
        EXPECT_EQ(frm.VxHexcavator1->CharCode(), code) << ini;
        EXPECT_TRUE(frm.findChild<QDockWidget *>(QStringLiteral("ByteValuesPanel"))->isHidden());
    }
}
