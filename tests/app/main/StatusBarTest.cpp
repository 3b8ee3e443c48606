// The status bar: five panels as wide as their widest texts in their own font, squeezed but
// never laid over each other in a narrow window, and never covered by a command's status tip.

#include "FakeUi.h"
#include "TVxHexcavator.h"
#include "TfrmMain.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>

namespace {
struct StatusBarTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    TfrmMain frm;

    void SetUp() override
    {
        frm.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    }
    QLabel *Panel(int i) const { return frm.statusBar()->findChild<QLabel *>(QStringLiteral("Panel%1").arg(i)); }
    QStringList Texts() const
    {
        QStringList t;
        for (int i = 0; i < 5; ++i)
            t << Panel(i)->text();
        return t;
    }
    bool AllShown() const
    {
        for (int i = 0; i < 5; ++i)
            if (!Panel(i)->isVisible())
                return false;
        return true;
    }
};

// Pixels a label has for its text: inside frame and contents margins, less its margin and
// its indent (Qt indents a framed label by half an "x" unless told otherwise).
int TextRoom(const QLabel *p)
{
    const int indent = p->indent() >= 0 ? p->indent()
                       : p->frameWidth() > 0 ? p->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                             : 0;
    return p->contentsRect().width() - 2 * p->margin() - indent;
}
} // namespace

TEST_F(StatusBarTest, EachPanelHoldsItsWidestTextInItsOwnFont)
{
    const struct {
        int panel;
        QStringList texts;
    } widest[] = {
        {1,
         {QStringLiteral("位置 2,147,483,647 (0x7FFFFFFF)"), QStringLiteral("選択 2,147,483,647 (0x7FFFFFFF) バイト"),
          // wider than the largest number in a proportional font
          QStringLiteral("選択 2,111,692,253 (0x7DDDDDDD) バイト")}},
        {2, {QStringLiteral("ファイル 2,147,483,647 バイト")}},
        {3, {QStringLiteral("ASCII"), QStringLiteral("SJIS"), QStringLiteral("UNICODE"), QStringLiteral("JIS"), QStringLiteral("EUC")}},
        {4, {QStringLiteral("書禁"), QStringLiteral("挿入"), QStringLiteral("上書")}},
    };
    for (const auto &w : widest) {
        const QLabel *p = Panel(w.panel);
        const QFontMetrics fm(p->font());
        for (const QString &text : w.texts)
            EXPECT_GE(TextRoom(p), fm.horizontalAdvance(text)) << w.panel << ": " << text.toStdString();
    }
}

TEST_F(StatusBarTest, ANarrowWindowSqueezesThePanelsWithoutOverlap)
{
    int wanted = 0;
    for (int i = 0; i < 5; ++i)
        wanted += Panel(i)->sizeHint().width();
    for (int width : {wanted, wanted / 2, 160}) {
        frm.resize(width, 300);
        QCoreApplication::processEvents();
        QList<QRect> rects;
        for (int i = 0; i < 5; ++i)
            rects << Panel(i)->geometry();
        if (auto *grip = frm.statusBar()->findChild<QSizeGrip *>())
            rects << grip->geometry();
        for (int i = 0; i < rects.size(); ++i)
            for (int j = i + 1; j < rects.size(); ++j)
                EXPECT_FALSE(rects[i].intersects(rects[j])) << "window " << frm.width() << ": " << i << " and " << j;
    }
    EXPECT_LT(frm.width(), wanted / 2); // really narrower than the panels want
}

TEST_F(StatusBarTest, HoveringACommandLeavesThePanelsAsTheyAre)
{
    const QStringList before = Texts();
    ASSERT_TRUE(AllShown());

    QMenu *file = frm.menuBar()->actions().first()->menu();
    file->popup(frm.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    QTest::mouseMove(file, file->actionGeometry(Command(frm, "acNew")).center());
    QCoreApplication::processEvents();
    ASSERT_EQ(file->activeAction(), Command(frm, "acNew"));
    EXPECT_TRUE(frm.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(Texts(), before);
    EXPECT_TRUE(AllShown());
    file->hide();

    QWidget *button = frm.ToolBar()->widgetForAction(Command(frm, "acOpen"));
    QTest::mouseMove(button);
    QCoreApplication::processEvents();
    ASSERT_TRUE(button->underMouse());
    EXPECT_TRUE(frm.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(Texts(), before);
    EXPECT_TRUE(AllShown());
}
