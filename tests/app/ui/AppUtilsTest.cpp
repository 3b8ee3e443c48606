// Program utilities: the busy state, dialog placement, command lines, the input dialog and the
// about box.

#include "FakeUi.h"
#include "TAppUtils.h"
#include "TBusyState.h"
#include "TCommandLine.h"
#include "TfrmInput.h"
#include "TfrmVersion.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>

TEST(AppUtilsTest, BusyStateNestsAndAlwaysEnds)
{
    QWidget main;
    TBusyState state(&main);
    {
        TBusy outer(state);
        EXPECT_FALSE(main.isEnabled());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        try {
            TBusy inner(state);
            throw std::runtime_error("x");
        } catch (const std::runtime_error &) {
        }
        EXPECT_FALSE(main.isEnabled()); // the outer one still holds
    }
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(AppUtilsTest, BusyStateGivesTheFocusBack)
{
    QWidget main;
    auto *edit = new QLineEdit(&main);
    new QLineEdit(&main);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    TBusyState state(&main);
    state.Begin();
    state.End();
    EXPECT_TRUE(edit->hasFocus());
}

TEST(AppUtilsTest, DialogsAreCentredAndKeptOnScreen)
{
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(TAppUtils::CenteredPosition(QRect(0, 0, 300, 100), QRect(100, 100, 640, 480), screen), QPoint(270, 290));
    // Too far up and left: at least 10 from those edges.
    EXPECT_EQ(TAppUtils::CenteredPosition(QRect(0, 0, 300, 100), QRect(-500, -500, 100, 100), screen), QPoint(10, 10));
    // Too far right and down: pulled back to 10 from those edges.
    EXPECT_EQ(TAppUtils::CenteredPosition(QRect(0, 0, 300, 100), QRect(900, 700, 400, 300), screen), QPoint(714, 658));
    // Odd differences truncate toward zero: (100 - 101) / 2 is 0, not -1.
    EXPECT_EQ(TAppUtils::CenteredPosition(QRect(0, 0, 301, 101), QRect(100, 100, 100, 100), screen), QPoint(10, 100));
}

TEST(AppUtilsTest, CommandLinesSplitIntoProgramAndParameters)
{
    auto s = TCommandLine::SplitCommandLine(QStringLiteral("  \"/opt/my prog/hx\" \"a b.bin\" c  "));
    EXPECT_EQ(s.Program, QStringLiteral("/opt/my prog/hx"));
    EXPECT_EQ(s.Parameters, QStringLiteral("\"a b.bin\" c"));
    EXPECT_EQ(TCommandLine::SplitArguments(s.Parameters), (QStringList{QStringLiteral("a b.bin"), QStringLiteral("c")}));
    s = TCommandLine::SplitCommandLine(QStringLiteral("prog x"));
    EXPECT_EQ(s.Program, QStringLiteral("prog"));
    EXPECT_EQ(s.Parameters, QStringLiteral("x"));
    s = TCommandLine::SplitCommandLine(QStringLiteral("\"/only/program\""));
    EXPECT_EQ(s.Program, QStringLiteral("/only/program"));
    EXPECT_TRUE(s.Parameters.isEmpty());
    s = TCommandLine::SplitCommandLine(QStringLiteral("   "));
    EXPECT_TRUE(s.Program.isEmpty());

    TFakeUi ui;
    EXPECT_EQ(TCommandLine::RunCommandLine(QStringLiteral("  ")), 0);
    EXPECT_TRUE(ui.Started.isEmpty());
    EXPECT_EQ(TCommandLine::RunCommandLine(QStringLiteral("\"/p q/hx\" \"/d/f g.bin\"")), 0);
    ASSERT_EQ(ui.Started.size(), 1);
    EXPECT_EQ(ui.Started[0], (QStringList{QStringLiteral("/p q/hx"), QStringLiteral("/d/f g.bin")}));
}

TEST(AppUtilsTest, InputDialogFollowsTheFontAndLimitsTheText)
{
    TfrmInput dlg(QStringLiteral("文字列入力"), QStringLiteral("文字列を入力してください。"), QStringLiteral("init"), nullptr);
    const QSize avg = TfrmInput::AverageCharSize(dlg.font());
    EXPECT_EQ(dlg.width(), qRound(180.0 * avg.width() / 4));
    EXPECT_EQ(dlg.height(), qRound(63.0 * avg.height() / 8));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("文字列入力"));
    EXPECT_EQ(dlg.Edit()->maxLength(), 255);
    EXPECT_EQ(dlg.Edit()->selectedText(), QStringLiteral("init"));
    QTest::keyClicks(dlg.Edit(), QStringLiteral("xy"));
    EXPECT_EQ(dlg.Text(), QStringLiteral("xy"));
}

TEST(AboutBoxTest, IgnoresInputWhileRevealingAndClosesAfter)
{
    QWidget main;
    main.resize(640, 480);
    main.show();
    QPointer<TfrmVersion> box = TfrmVersion::ShowAbout(&main);
    EXPECT_EQ(box->size(), QSize(300, 100));
    EXPECT_EQ(TfrmVersion::ShowAbout(&main), box.data()); // one at a time
    QCoreApplication::postEvent(box.data(), new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    if (!QTest::qWaitFor([&] { return box->Revealed(); }, 3000))
        GTEST_SKIP() << "this platform plugin never activates windows";
    QCoreApplication::processEvents();
    ASSERT_FALSE(box.isNull()) << "a key during the reveal closed the box";
    QTest::keyClick(box.data(), Qt::Key_A);
    (void)QTest::qWaitFor([&] { return box.isNull(); }, 1000);
    EXPECT_TRUE(box.isNull());
    EXPECT_EQ(TfrmVersion::Current(), nullptr);
    // A new box each time; clicking into the main window (losing the focus) closes it.
    QPointer<TfrmVersion> again = TfrmVersion::ShowAbout(&main);
    ASSERT_FALSE(again.isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return again->Revealed(); }, 3000));
    main.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.isNull(); }, 2000));
}

TEST(AboutBoxTest, PictureIsDrawnInCode)
{
    QImage img = TfrmVersion::Picture();
    EXPECT_EQ(img.size(), QSize(300, 100));
    // Not a blank rectangle: the title leaves white pixels on the dark background.
    int white = 0;
    for (int x = 0; x < 300; ++x)
        white += img.pixelColor(x, 34) == QColor(Qt::white);
    EXPECT_GT(white, 10);
    // It speaks Japanese: every line under the title, and the version among them.
    const QStringList lines = TfrmVersion::PictureLines();
    ASSERT_EQ(lines.size(), 3);
    for (const QString &line : lines)
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() >= 0x3000; }))
            << line.toStdString();
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("バージョン \\d+\\.\\d+"))));
}
