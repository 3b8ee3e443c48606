// Several main windows in one process meet exactly as separate instances do: each has its own
// socket in the registry folder and its own handle on the shared search block, and every
// notice travels through the sockets and the event loop.

#include "FakeUi.h"
#include "TFeatureFixture.h"
#include "TFileCommands.h"
#include "TInstanceCommands.h"
#include "TRecentFiles.h"
#include "TSearchCommands.h"
#include "TSettingsFile.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <set>
#include <vector>

namespace {

// One instance as the main window wires it, without the window: the file and search
// features and the cooperation over them, the settings loaded at start and written at exit
// by the last one to leave.
struct TInstance {
    TFeatureFixture fx;
    TFileCommands files{fx.Context()};
    TSearchCommands searches{fx.Context()};
    TInstanceCommands instances{fx.Context(), searches.State()};

    TInstance() { fx.Settings.Load(instances.EditorInstanceCount() == 1); }
    ~TInstance()
    {
        if (instances.LeaveAsLast())
            fx.Settings.Save();
    }
};

struct InstancesTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    std::vector<std::unique_ptr<TInstance>> instances;
    std::vector<std::unique_ptr<TfrmMain>> windows;

    TInstance &Start()
    {
        instances.push_back(std::make_unique<TInstance>());
        return *instances.back();
    }
    TfrmMain &StartShown()
    {
        windows.push_back(std::make_unique<TfrmMain>());
        TfrmMain &w = *windows.back();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    void Stop(TInstance &w)
    {
        for (auto &p : instances)
            if (p.get() == &w)
                p.reset();
    }
    static void SetSearch(TInstance &w, const std::string &text, bool ignoreCase)
    {
        w.searches.Search().SetSearchText(text, ignoreCase);
    }
    static bool Shows(TInstance &w, const std::string &text, bool ignoreCase)
    {
        return w.searches.FSearchText == text && w.searches.FSearchIgnoreCase == ignoreCase &&
               w.searches.Search().SearchText() == text;
    }
};

TEST_F(InstancesTest, ASearchInOneIsTheSearchOfAllAndTheLastOneKeepsIt)
{
    TInstance &a = Start();
    TInstance &b = Start();
    EXPECT_EQ(a.instances.EditorInstanceCount(), 2);

    SetSearch(a, "abc", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(b, "abc", true); }));

    // The same text and flag again is no change: nothing reaches the other window.
    b.searches.FSearchText = "untouched";
    SetSearch(a, "abc", true);
    QTest::qWait(200);
    EXPECT_EQ(b.searches.FSearchText, "untouched");

    // The flag alone is a change.
    SetSearch(a, "abc", false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(b, "abc", false); }));

    // A search by hex is one by hex everywhere.
    a.searches.Search().SetSearchText("00 41", false, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return b.searches.FSearchHex && Shows(b, "00 41", false); }));
    EXPECT_EQ(b.searches.Search().State().HexBytes(), std::string("\0A", 2));

    // A long text travels as its first 254 bytes; the window that set it keeps it whole.
    const std::string longText(300, 'x');
    SetSearch(b, longText, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(a, std::string(254, 'x'), true); }));
    EXPECT_EQ(b.searches.Search().SearchText(), longText);

    // A window started now begins with the shared text, its own copy untouched.
    TInstance &c = Start();
    EXPECT_EQ(c.searches.Search().SearchText(), longText.substr(0, 254));
    EXPECT_TRUE(c.searches.FSearchText.empty());
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
        TSettings s;
        s.Position = std::array<int32_t, 4>{120, 90, 820, 590};
        s.SearchText = "saved";
        s.SearchIgnoreCase = true;
        TSettingsFile().Save(s);
    }
    ASSERT_TRUE(QFile::exists(settings.Ini()));

    windows.push_back(std::make_unique<TfrmMain>());
    TfrmMain &a = *windows.back();
    EXPECT_EQ(a.geometry(), QRect(120, 90, 700, 500));
    EXPECT_EQ(a.Settings().Collect().SearchText, "saved");
    EXPECT_TRUE(a.Settings().Collect().SearchIgnoreCase);
    windows.push_back(std::make_unique<TfrmMain>());
    TfrmMain &b = *windows.back();
    EXPECT_NE(b.geometry(), QRect(120, 90, 700, 500));
    EXPECT_TRUE(b.Settings().Collect().SearchText.empty());
}

TEST_F(InstancesTest, AnOpenInOneRefreshesTheRecentFilesOfAll)
{
    TInstance &a = Start();
    TInstance &b = Start();
    const QString file = dir.filePath(QStringLiteral("opened.bin"));
    WriteTestFile(file, "1234");
    ASSERT_TRUE(a.files.OpenFile(file));
    const std::string name = file.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return !b.files.Recent().FRecentFiles().empty() && b.files.Recent().FRecentFiles().front() == name;
    }));
    EXPECT_EQ(a.files.Recent().FRecentFiles().front(), name);
}

TEST_F(InstancesTest, CloseAllAsksInEachWindowAndACancelKeepsOnlyThatOne)
{
    TfrmMain &a = StartShown();
    TfrmMain &b = StartShown();
    TfrmMain &clean = StartShown();
    for (TfrmMain *w : {&a, &b}) {
        Command(*w, "acReadOnly")->trigger();
        w->VxHexcavator1->InsertByte(0, 1, true);
        ASSERT_TRUE(w->VxHexcavator1->Modified());
    }
    ui.Answers = {2, 7}; // the first window asked cancels, the second discards its changes
    Command(a, "acCloseAll")->trigger();
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
