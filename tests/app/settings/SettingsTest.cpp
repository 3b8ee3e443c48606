// The settings file as a user meets it: defaults without a file, every key surviving a save
// and a load, the hand-edited files of the documentation read the documented way, and values
// that are no numbers costing only their own key.

#include "FakeUi.h"
#include "TSettingsQt.h"
#include "TRecentFiles.h"
#include "TSearchCommands.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {
void WriteIni(const QString &path, const char *text) { WriteTestFile(path, QByteArray(text)); }

QColor Win(uint32_t c) { return TSettingsQt::ToQColor(c); }

// The recent-files entry of this index (0 the newest) in the File menu.
QAction *RecentItem(TfrmMain &frm, int index)
{
    const QList<QAction *> items = frm.menuBar()->actions().value(0)->menu()->actions();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->objectName() == QStringLiteral("mnuMRUStart"))
            return items.value(i + 1 + index);
    return nullptr;
}

QStringList RecentCaptions(TfrmMain &frm)
{
    QStringList out;
    bool inside = false;
    for (QAction *a : frm.menuBar()->actions().value(0)->menu()->actions()) {
        if (a->objectName() == QStringLiteral("mnuMRUStart"))
            inside = true;
        else if (a->objectName() == QStringLiteral("mnuMRUEnd"))
            break;
        else if (inside)
            out << a->text();
    }
    return out;
}
} // namespace

TEST(SettingsTest, WithoutAFileTheWindowShowsTheDefaults)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    TfrmMain frm;
    TVxHexcavator &ed = *frm.VxHexcavator1;
    EXPECT_EQ(ed.FontColor(), QColor(Qt::black));
    EXPECT_EQ(ed.Color(), QColor(Qt::white));
    EXPECT_EQ(ed.SelectColor(), QColor(Qt::black));
    EXPECT_EQ(ed.SelectBGColor(), QColor(0xCC, 0xEE, 0xFF)); // $FFEECC in Windows order
    EXPECT_EQ(ed.CurrentLineColor(), QColor(0x80, 0, 0));
    EXPECT_EQ(ed.AddressColor(), QColor(0x00, 0x4E, 0x98));
    EXPECT_EQ(ed.ChangedColor(), QColor(0xC0, 0, 0xC0)); // $C000C0 in Windows order
    EXPECT_FALSE(ed.HideOffsetHeader());
    EXPECT_FALSE(ed.HideByteView());
    EXPECT_FALSE(frm.ToolBar()->isHidden());
    EXPECT_FALSE(frm.statusBar()->isHidden());
    EXPECT_EQ(ed.ColumnBytes(), cb1byte);
    EXPECT_EQ(ed.CharCode(), ccASCII);
    EXPECT_TRUE(frm.Settings().Values().ReadOnlyWhenFileOpen);
    EXPECT_FALSE(frm.Settings().Values().KeepUndoOnSave);
    EXPECT_EQ(ed.font().pointSize(), 14);
    EXPECT_EQ(ed.SaveBackupCount, 10);
    EXPECT_EQ(frm.Settings().Collect().JumpAddress, "$00000");
    EXPECT_EQ(frm.Settings().Values().Print.TopMargin, 10);
    EXPECT_TRUE(frm.Settings().Values().Print.PrintPageNo);
    EXPECT_TRUE(RecentCaptions(frm).isEmpty());
    EXPECT_FALSE(frm.findChild<QAction *>(QStringLiteral("mnuMRUStart"))->isVisible());
    EXPECT_TRUE(ui.Messages.isEmpty());
}

TEST(SettingsTest, EveryKeySurvivesASaveAndALoad)
{
    TSettingsInTempDir settings;
    TSettings s;
    s.Position = std::array<int32_t, 4>{11, 22, 633, 455};
    s.ShowCmd = 3;
    s.KeepUndoOnSave = true;
    s.ReadOnlyWhenFileOpen = false;
    s.ViewAddressHeader = false;
    s.ViewByteView = false;
    s.ViewToolBar = false;
    s.ViewStatusBar = false;
    s.Font = {"Noto Sans Mono", 11, {true, true, false, true}, 1};
    s.FontColor = 0x010203;
    s.BGColor = 0x040506;
    s.SelectFontColor = 0x070809;
    s.SelectBGColor = 0x0A0B0C;
    s.CurrentLineFontColor = 0x0D0E0F;
    s.CurrentLineBGColor = 0x101112;
    s.AddressFontColor = 0x131415;
    s.AddressBGColor = 0x161718;
    s.DoubleBuffered = true;
    s.SaveBackup = true;
    s.SaveBackupCount = 999;
    s.ViewUnderLine = true;
    s.UnderLineColor = 0x191A1B;
    s.ChangedFontColor = 0x1C1D1E;
    s.DiffBGColor = 0x2A2B2C;
    s.ColumnBytes = 8;
    s.CharCode = 1;
    s.JumpAddress = "$1234";
    s.SearchText = "  検索 ";
    s.SearchIgnoreCase = true;
    s.Print = {1, 2, 3, {"IPAGothic", 9, {false, false, true, false}, 128}, false, false};
    const TSettingsFile file;
    file.Save(s);
    const TSettings r = file.Load();
    EXPECT_EQ(r.Position, s.Position);
    EXPECT_EQ(r.ShowCmd, 3);
    EXPECT_EQ(r.KeepUndoOnSave, true);
    EXPECT_EQ(r.ReadOnlyWhenFileOpen, false);
    EXPECT_EQ(r.ViewAddressHeader || r.ViewByteView || r.ViewToolBar || r.ViewStatusBar, false);
    EXPECT_TRUE(r.Font == s.Font);
    for (auto [a, b] : {std::pair{r.FontColor, s.FontColor}, {r.BGColor, s.BGColor}, {r.SelectFontColor, s.SelectFontColor},
                        {r.SelectBGColor, s.SelectBGColor}, {r.CurrentLineFontColor, s.CurrentLineFontColor},
                        {r.CurrentLineBGColor, s.CurrentLineBGColor}, {r.AddressFontColor, s.AddressFontColor},
                        {r.AddressBGColor, s.AddressBGColor}, {r.UnderLineColor, s.UnderLineColor},
                        {r.ChangedFontColor, s.ChangedFontColor}, {r.DiffBGColor, s.DiffBGColor}})
        EXPECT_EQ(a, b);
    EXPECT_TRUE(r.DoubleBuffered && r.SaveBackup && r.ViewUnderLine && r.SearchIgnoreCase);
    EXPECT_EQ(r.SaveBackupCount, 999);
    EXPECT_EQ(r.ColumnBytes, 8);
    EXPECT_EQ(r.CharCode, 1);
    EXPECT_EQ(r.JumpAddress, "$1234");
    EXPECT_EQ(r.SearchText, "  検索 ");
    EXPECT_EQ(r.Print.TopMargin, 1);
    EXPECT_EQ(r.Print.BottomMargin, 2);
    EXPECT_EQ(r.Print.LeftMargin, 3);
    EXPECT_TRUE(r.Print.Font == s.Print.Font);
    EXPECT_FALSE(r.Print.PrintFileName || r.Print.PrintPageNo);
    EXPECT_TRUE(r.Ignored.empty());
    // The documented encodings, as a hand editor sees them.
    const QByteArray text = ReadTestFile(settings.Ini());
    EXPECT_TRUE(text.contains("FontColor=$010203")) << text.toStdString();
    EXPECT_TRUE(text.contains("FontStyle=BIS"));
    EXPECT_TRUE(text.contains("Position=11,22,633,455"));
    EXPECT_TRUE(text.contains(QStringLiteral("Current=\"  検索 \"").toUtf8())) << text.toStdString();
    EXPECT_LT(text.indexOf("[Placement]"), text.indexOf("[Settings]"));
    EXPECT_LT(text.indexOf("[Find]"), text.indexOf("[Print]"));
}

TEST(SettingsTest, TheWindowGivesBackWhatItWasGiven)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    WriteIni(settings.Ini(), "[Settings]\nFontColor=$123456\nColumnBytes=4\nCharCode=1\nViewByteView=0\n"
                             "ChangedFontColor=$00A0C0\n"
                             "ViewToolBar=0\nSaveBackup=1\nSaveBackupCount=7\nJumpAddres=$FF\n"
                             "[Find]\nCurrent=\" abc\"\nIgnoreCase=1\n[Print]\nLeftMargin=25\n");
    {
        TfrmMain frm;
        TVxHexcavator &ed = *frm.VxHexcavator1;
        EXPECT_EQ(ed.FontColor(), Win(0x123456));
        EXPECT_EQ(ed.ChangedColor(), QColor(0xC0, 0xA0, 0x00));
        EXPECT_EQ(ed.ColumnBytes(), cb4byte);
        EXPECT_TRUE(Command(frm, "accb4byte")->isChecked());
        EXPECT_EQ(ed.CharCode(), ccSJIS);
        EXPECT_TRUE(Command(frm, "acSjisByte")->isChecked());
        EXPECT_TRUE(ed.HideByteView());
        EXPECT_FALSE(Command(frm, "acViewByteView")->isChecked());
        EXPECT_TRUE(frm.ToolBar()->isHidden());
        EXPECT_TRUE(ed.SaveBackup);
        EXPECT_EQ(ed.SaveBackupCount, 7);
        EXPECT_EQ(frm.Settings().Collect().SearchText, " abc");
        EXPECT_TRUE(frm.Settings().Collect().SearchIgnoreCase);
        EXPECT_EQ(frm.Settings().Values().Print.LeftMargin, 25);
    } // the last instance writes at exit
    const TSettings r = TSettingsFile().Load();
    EXPECT_EQ(r.FontColor, 0x123456u);
    EXPECT_EQ(r.ChangedFontColor, 0x00A0C0u);
    EXPECT_EQ(r.ColumnBytes, 4);
    EXPECT_EQ(r.CharCode, 1);
    EXPECT_FALSE(r.ViewByteView);
    EXPECT_FALSE(r.ViewToolBar);
    EXPECT_EQ(r.SaveBackupCount, 7);
    EXPECT_EQ(r.JumpAddress, "$FF");
    EXPECT_EQ(r.SearchText, " abc");
    EXPECT_EQ(r.Print.LeftMargin, 25);
    EXPECT_TRUE(r.Position.has_value());
}

TEST(SettingsTest, HandEditedValuesReadTheDocumentedWay)
{
    EXPECT_TRUE(TSettings::StrToFontStyle("ub") == (TFontStyle{true, false, true, false}));
    EXPECT_EQ(TSettings::FontStyleToStr(TFontStyle{true, true, false, false}), "BI");
    bool bad = true;
    EXPECT_FALSE(TSettings::ParsePosition("10,20,30", bad).has_value());
    EXPECT_FALSE(bad);
    EXPECT_EQ(TSettings::ParsePosition("10, 20 ,\"30\",40", bad), (std::array<int32_t, 4>{10, 20, 30, 40}));
    EXPECT_FALSE(TSettings::ParsePosition("10,20,x,40", bad).has_value());
    EXPECT_TRUE(bad);

    TFakeUi ui;
    TSettingsInTempDir settings;
    WriteIni(settings.Ini(), "[Placement]\nPosition=10,20,30\nShowCmd=2\n[Settings]\nColumnBytes=3\nCharCode=2\n");
    TfrmMain frm;
    EXPECT_EQ(frm.VxHexcavator1->ColumnBytes(), cb1byte);
    EXPECT_EQ(frm.VxHexcavator1->CharCode(), ccASCII);
    EXPECT_EQ(frm.size(), QSize(600, 430)); // three items: the centred default window
    EXPECT_FALSE(frm.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    EXPECT_TRUE(ui.Messages.isEmpty());
}

TEST(SettingsTest, AMaximizedWindowComesBackMaximizedWithItsRestoredRectangle)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    WriteIni(settings.Ini(), "[Placement]\nPosition=30,40,730,540\nShowCmd=3\n");
    TfrmMain frm;
    EXPECT_TRUE(frm.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(frm.normalGeometry().size(), QSize(700, 500));
}

TEST(SettingsTest, ValuesThatAreNoNumbersCostOnlyTheirOwnKey)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    WriteIni(settings.Ini(), "[Placement]\nPosition=1,2,zz,4\n[Settings]\nFontColor=red\nBGColor=$00FF00\n"
                             "SelectBGColor=$$\nSaveBackupCount=-5\nFontSize=99999999999\n[Print]\nTopMargin=5000\n");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.bin"));
    WriteTestFile(file, QByteArray("abc"));
    TfrmMain frm;
    frm.OpenFile(file); // what the command line does right after
    QTest::qWait(1);
    TVxHexcavator &ed = *frm.VxHexcavator1;
    EXPECT_EQ(ed.FileSize(), 3);
    EXPECT_EQ(ed.FontColor(), QColor(Qt::black));  // its default
    EXPECT_EQ(ed.Color(), QColor(0, 0xFF, 0));      // the key after it still read
    EXPECT_EQ(ed.SelectBGColor(), Win(0xFFEECC));
    EXPECT_EQ(ed.SaveBackupCount, 0);
    EXPECT_EQ(ed.font().pointSize(), 14);
    EXPECT_EQ(frm.Settings().Values().Print.TopMargin, 999);
    ASSERT_EQ(ui.Messages.size(), 1);
    const QString &m = ui.Messages[0];
    EXPECT_TRUE(m.startsWith(settings.Ini())) << m.toStdString();
    for (const char *key : {"[Placement] Position", "[Settings] FontColor", "[Settings] SelectBGColor"})
        EXPECT_TRUE(m.contains(QString::fromUtf8(key))) << key;
    EXPECT_FALSE(m.contains(QStringLiteral("BGColor\r")));
}

TEST(SettingsTest, GarbageFilesFallBackToDefaults)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    QByteArray junk;
    for (int i = 0; i < 70000; ++i)
        junk.append(char((i * 37) & 0xFF));
    junk.append("\n[Settings]\nFontName=").append(QByteArray(3 << 20, 'x')).append("\xff\xfe\nColumnBytes=\x80\x81\n");
    WriteTestFile(settings.Ini(), junk);
    TfrmMain frm;
    EXPECT_EQ(frm.VxHexcavator1->ColumnBytes(), cb1byte);
    EXPECT_EQ(frm.VxHexcavator1->CharCode(), ccASCII);
    EXPECT_TRUE(frm.Settings().Values().ReadOnlyWhenFileOpen);
}

TEST(RecentFilesTest, OpensGoOnTopAndTheMenuFollows)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    TfrmMain frm;
    QStringList paths;
    for (int i = 0; i < 12; ++i) {
        paths << dir.filePath(QStringLiteral("f%1.bin").arg(i));
        WriteTestFile(paths.back(), QByteArray("x"));
    }
    const QString upper = dir.filePath(QStringLiteral("F0.bin"));
    WriteTestFile(upper, QByteArray("y"));
    ui.Shift = true; // open here rather than in new instances
    for (int i = 0; i < 11; ++i)
        frm.OpenFile(paths[i]);
    frm.OpenFile(paths[5]);
    frm.OpenFile(upper); // letter case counts
    // The menu follows the notice to every instance, this one included, which comes back
    // through the event loop (on Windows after a few passes: a pipe's bytes wait for the reader).
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecentCaptions(frm).value(0) == QStringLiteral("&1. ") + upper; }));
    const QStringList items = RecentCaptions(frm);
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[0], QStringLiteral("&1. ") + upper);
    EXPECT_EQ(items[1], QStringLiteral("&2. ") + paths[5]);
    EXPECT_EQ(items[2], QStringLiteral("&3. ") + paths[10]);
    EXPECT_EQ(items[9].left(4), QStringLiteral("&A. "));
    EXPECT_FALSE(items.join(QLatin1Char('|')).contains(paths[0] + QLatin1Char('|')));
    EXPECT_TRUE(frm.findChild<QAction *>(QStringLiteral("mnuMRUStart"))->isVisible());

    // A click opens through the open rule; a vanished file is left on the list.
    QFile::remove(paths[5]);
    RecentItem(frm, 1)->trigger();
    EXPECT_EQ(QString::fromStdString(frm.VxHexcavator1->FileName()), upper);
    EXPECT_EQ(RecentCaptions(frm).size(), 10);
    RecentItem(frm, 2)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecentCaptions(frm).value(0) == QStringLiteral("&1. ") + paths[10]; }));
    EXPECT_EQ(QString::fromStdString(frm.VxHexcavator1->FileName()), paths[10]);
    EXPECT_EQ(RecentCaptions(frm)[0], QStringLiteral("&1. ") + paths[10]);
}

TEST(RecentFilesTest, AHandEditedListOfTwelveKeysShowsTwelveAndKeepsItsTail)
{
    TFakeUi ui;
    TSettingsInTempDir settings;
    QByteArray ini("[MRUList]\n");
    for (int i = 0; i < 12; ++i)
        ini += QStringLiteral("%1=\"/data/f%2.bin\"\n").arg(QString::number(i, 16).toUpper()).arg(i).toUtf8();
    WriteTestFile(settings.Ini(), ini);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("new.bin"));
    WriteTestFile(file, QByteArray("z"));
    TfrmMain frm;
    QStringList items = RecentCaptions(frm);
    ASSERT_EQ(items.size(), 12);
    EXPECT_EQ(items[10], QStringLiteral("&B. /data/f10.bin"));
    EXPECT_EQ(items[11], QStringLiteral("&C. /data/f11.bin"));

    frm.OpenFile(file);
    EXPECT_TRUE(QTest::qWaitFor([&] { return RecentCaptions(frm).value(0) == QStringLiteral("&1. ") + file; }));
    // Ten written, the keys A and B left as they were: they come back at the next load.
    items = RecentCaptions(frm);
    ASSERT_EQ(items.size(), 12);
    EXPECT_EQ(items[0], QStringLiteral("&1. ") + file);
    EXPECT_EQ(items[9], QStringLiteral("&A. /data/f8.bin"));
    EXPECT_EQ(items[10], QStringLiteral("&B. /data/f10.bin"));
    EXPECT_EQ(items[11], QStringLiteral("&C. /data/f11.bin"));
}
