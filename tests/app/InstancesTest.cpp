// Several main windows in one process meet exactly as separate instances do: each has its own
// socket in the registry folder and its own handle on the shared search block, and every
// notice travels through the sockets and the event loop.

#include "FakeUi.h"
#include "TInstanceCommands.h"
#include "TMainSettings.h"
#include "TRecentFiles.h"
#include "TSearchCommands.h"
#include "TSettingsFile.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <set>
#include <vector>

namespace {

struct InstancesTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    std::vector<std::unique_ptr<TfrmMain>> windows;

    TfrmMain &Start()
    {
        windows.push_back(std::make_unique<TfrmMain>());
        return *windows.back();
    }
    TfrmMain &StartShown()
    {
        TfrmMain &w = Start();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    void Stop(TfrmMain &w)
    {
        for (auto &p : windows)
            if (p.get() == &w)
                p.reset();
    }
    static void SetSearch(TfrmMain &w, const std::string &text, bool ignoreCase)
    {
        w.Searches().Search().SetSearchText(text, ignoreCase);
    }
    static bool Shows(TfrmMain &w, const std::string &text, bool ignoreCase)
    {
        return w.Searches().FSearchText == text && w.Searches().FSearchIgnoreCase == ignoreCase &&
               w.Searches().Search().SearchText() == text;
    }
};

TEST_F(InstancesTest, ASearchInOneIsTheSearchOfAllAndTheLastOneKeepsIt)
{
    TfrmMain &a = Start();
    TfrmMain &b = Start();
    EXPECT_EQ(a.Instances().EditorInstanceCount(), 2);

    SetSearch(a, "abc", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(b, "abc", true); }));

    // The same text and flag again is no change: nothing reaches the other window.
    b.Searches().FSearchText = "untouched";
    SetSearch(a, "abc", true);
    QTest::qWait(200);
    EXPECT_EQ(b.Searches().FSearchText, "untouched");

    // The flag alone is a change.
    SetSearch(a, "abc", false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(b, "abc", false); }));

    // A search by hex is one by hex everywhere.
    a.Searches().Search().SetSearchText("00 41", false, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b.Searches().FSearchHex && Shows(b, "00 41", false); }));
    EXPECT_EQ(b.Searches().Search().State().Pattern(), std::string("\0A", 2));

    // A long text travels as its first 254 bytes; the window that set it keeps it whole.
    const std::string longText(300, 'x');
    SetSearch(b, longText, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(a, std::string(254, 'x'), true); }));
    EXPECT_EQ(b.Searches().Search().SearchText(), longText);

    // A window started now begins with the shared text, its own copy untouched.
    TfrmMain &c = Start();
    EXPECT_EQ(c.Searches().Search().SearchText(), longText.substr(0, 254));
    EXPECT_TRUE(c.Searches().FSearchText.empty());
    Stop(c);

    // Only the last window to close writes the settings, with the shared text.
    Stop(a);
    EXPECT_FALSE(QFile::exists(settings.Ini()));
    Stop(b);
    const TSettings saved = TSettingsFile().Load();
    EXPECT_EQ(saved.SearchText, longText);
    EXPECT_TRUE(saved.SearchIgnoreCase);
}

TEST_F(InstancesTest, OnlyTheFirstInstanceTakesTheSavedPlacementAndSearchText)
{
    {
        TfrmMain first;
        first.setGeometry(120, 90, 700, 500);
        first.Searches().Search().SetSearchText("saved", true);
    }
    ASSERT_TRUE(QFile::exists(settings.Ini()));

    TfrmMain &a = Start();
    EXPECT_EQ(a.geometry(), QRect(120, 90, 700, 500));
    EXPECT_TRUE(Shows(a, "saved", true));
    TfrmMain &b = Start();
    EXPECT_NE(b.geometry(), QRect(120, 90, 700, 500));
    EXPECT_TRUE(b.Searches().FSearchText.empty());
}

TEST_F(InstancesTest, AnOpenInOneRefreshesTheRecentFilesOfAll)
{
    TfrmMain &a = Start();
    TfrmMain &b = Start();
    const QString file = dir.filePath(QStringLiteral("opened.bin"));
    WriteTestFile(file, "1234");
    ASSERT_TRUE(a.Files().OpenFile(file));
    const std::string name = QFile::encodeName(file).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return !b.Recent().FRecentFiles().empty() && b.Recent().FRecentFiles().front() == name;
    }));
    EXPECT_EQ(a.Recent().FRecentFiles().front(), name);
}

TEST_F(InstancesTest, CloseAllAsksInEachWindowAndACancelKeepsOnlyThatOne)
{
    TfrmMain &a = StartShown();
    TfrmMain &b = StartShown();
    TfrmMain &clean = StartShown();
    for (TfrmMain *w : {&a, &b}) {
        w->Actions.acReadOnly->trigger();
        w->VxHexcavator1->InsertByte(0, 1, true);
        ASSERT_TRUE(w->VxHexcavator1->Modified());
    }
    ui.Answers = {2, 7}; // the first window asked cancels, the second discards its changes
    a.Actions.acCloseAll->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Messages.size() == 2 && !clean.isVisible(); }));
    QTest::qWait(100);
    EXPECT_EQ(ui.Messages.size(), 2);
    EXPECT_EQ(int(a.isVisible()) + int(b.isVisible()), 1);
}

TEST_F(InstancesTest, CtrlTabVisitsEveryInstanceAndComesBack)
{
    TfrmMain &a = StartShown();
    StartShown();
    StartShown();
    a.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&a));

    std::set<QWidget *> visited;
    QWidget *current = &a;
    for (int i = 0; i < 3; ++i) {
        QWidget *before = current;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            current = QApplication::activeWindow();
            return current && current != before;
        })) << "step " << i;
        visited.insert(current);
    }
    EXPECT_EQ(visited.size(), 3u);
    EXPECT_EQ(current, &a);
}

} // namespace
