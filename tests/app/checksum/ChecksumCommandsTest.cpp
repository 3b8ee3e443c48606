// The checksum command on a real document: the dialog computes the checked algorithms over
// the selection or the whole document as it opens and when a check changes, keeps the choice
// in the settings, copies its rows; a cancel shows no result and changes nothing.

#include "TChecksumCommands.h"
#include "TFeatureFixture.h"
#include "TSettingsFile.h"
#include "TVxChecksumRunner.h"
#include "TfrmChecksum.h"

#include <QApplication>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <random>

namespace {
struct ChecksumCommandsTest : TFeatureTest {
    TChecksumCommands checksum{fx.Context()};
    QString path = dir.filePath(QStringLiteral("doc.bin"));

    void Load(const QByteArray &bytes)
    {
        WriteTestFile(path, bytes);
        ed.LoadFromFile(path.toStdString());
        fx.Window.show();
    }
    // Runs the command; `drive` gets the dialog once it is open (it computes before it shows,
    // and the progress window may handle events meanwhile, so the test waits for it).
    bool WithDialog(const std::function<void(TfrmChecksum &)> &drive)
    {
        bool seen = false;
        QTimer wait;
        wait.setInterval(0);
        QObject::connect(&wait, &QTimer::timeout, [&] {
            auto *d = qobject_cast<TfrmChecksum *>(QApplication::activeModalWidget());
            if (!d)
                return;
            wait.stop();
            seen = true;
            drive(*d);
            d->btnClose->click();
        });
        wait.start();
        checksum.acChecksum->trigger();
        return seen;
    }
    // "NAME: value" lines computed by the library for [offset, offset + count).
    QString Expected(const std::vector<TVxChecksum> &kinds, int64_t offset, int64_t count)
    {
        QString text;
        for (const TVxChecksumResult &r : TVxChecksumRunner::Run(ed, offset, count, kinds, nullptr))
            text += QString::fromStdString(TVxChecksumKinds::Name(r.Kind) + ": " + r.Value) + QLatin1Char('\n');
        return text;
    }
};
} // namespace

TEST_F(ChecksumCommandsTest, TheDefaultsOverTheWholeDocumentThenASelectionReadOnly)
{
    Load(RandomTestBytes(70000, 1));
    const std::vector<TVxChecksum> defaults = TVxChecksumKinds::Defaults();
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("チェックサム"));
        EXPECT_EQ(d.lblRange->text(), QStringLiteral("範囲: 00000000 - 0001116F (70000 バイト)"));
        EXPECT_EQ(d.Checked(), defaults);
        EXPECT_EQ(d.ResultText(), Expected(defaults, 0, 70000));
        ASSERT_EQ(d.ValueEdits().size(), 4u);
        // One value alone: selected and copied from its box, which takes no typing.
        QLineEdit *md5 = d.ValueEdits()[1];
        md5->selectAll();
        md5->copy();
        EXPECT_EQ(QStringLiteral("MD5: ") + QGuiApplication::clipboard()->text() + QLatin1Char('\n'), Expected({TVxChecksum::Md5}, 0, 70000));
        QTest::keyClicks(md5, QStringLiteral("00"));
        EXPECT_EQ(QStringLiteral("MD5: ") + md5->text() + QLatin1Char('\n'), Expected({TVxChecksum::Md5}, 0, 70000));
        // The copy button: every row, one a line.
        d.btnCopy->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), d.ResultText());
    }));

    // An odd selection in read-only mode: the word sums' partial word, nothing written.
    ed.SetReadOnlyMode(true);
    ed.SetSelection(3, 3 + 4);
    const std::vector<TVxChecksum> sums{TVxChecksum::Sum16LE, TVxChecksum::Sum32BE};
    fx.Settings.Values().ChecksumAlgorithms = TVxChecksumKinds::ToKeys(sums);
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) {
        EXPECT_EQ(d.lblRange->text(), QStringLiteral("範囲: 00000003 - 00000007 (5 バイト)"));
        EXPECT_EQ(d.ResultText(), Expected(sums, 3, 5));
    }));
    EXPECT_FALSE(ed.Modified());
}

TEST_F(ChecksumCommandsTest, AChangedCheckComputesAgainAndIsKeptInTheSettings)
{
    Load(QByteArray("123456789"));
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) {
        d.lstAlgorithms->item(int(TVxChecksum::Crc16Arc))->setCheckState(Qt::Checked);
        d.lstAlgorithms->item(int(TVxChecksum::Md5))->setCheckState(Qt::Unchecked);
        EXPECT_EQ(d.ResultText(), QStringLiteral("CRC-16 (ARC): BB3D\n"
                                                 "CRC-32: CBF43926\n"
                                                 "SHA-1: f7c3bc1d808e04732adf679965ccc34ca7ae3441\n"
                                                 "SHA-256: 15e2b0d3c33891ebb0f1ef609ec419420c20e320ce94c65fbc8c3312448eb225\n"));
        // Nothing checked: no rows, nothing to copy.
        for (int i = 0; i < d.lstAlgorithms->count(); ++i)
            d.lstAlgorithms->item(i)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(d.ResultText().isEmpty());
        EXPECT_FALSE(d.btnCopy->isEnabled());
        d.lstAlgorithms->item(int(TVxChecksum::Crc32C))->setCheckState(Qt::Checked);
    }));
    fx.Settings.Save();
    EXPECT_EQ(TSettingsFile().Load().ChecksumAlgorithms, "crc32c");
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) { EXPECT_EQ(d.ResultText(), QStringLiteral("CRC-32C: E3069283\n")); }));
}

// The bytes as they stand, typed and not saved: "X23456789" made "123456789" at the caret.
TEST_F(ChecksumCommandsTest, UnsavedEditsAreWhatIsSummed)
{
    Load(QByteArray("X23456789"));
    ed.setFocus();
    QTest::keyClicks(&ed, QStringLiteral("31"));
    ASSERT_EQ(ed.ByteAt(0), '1');
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) { EXPECT_TRUE(d.ResultText().startsWith(QStringLiteral("CRC-32: CBF43926\n"))); }));
}

TEST_F(ChecksumCommandsTest, AnEmptyDocumentHasTheValuesOfNoData)
{
    Load(QByteArray());
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) {
        EXPECT_EQ(d.lblRange->text(), QStringLiteral("範囲: なし (0 バイト)"));
        EXPECT_EQ(d.ValueEdits().size(), 4u);
        EXPECT_TRUE(d.ResultText().startsWith(QStringLiteral("CRC-32: 00000000\n")));
    }));
}

// Esc in the progress window: no result is shown, nothing to copy, the window is usable again
// and nothing is reported as a failure.
TEST_F(ChecksumCommandsTest, ACancelShowsNoResultAndChangesNothing)
{
    Load(RandomTestBytes(40 << 20, 2));
    qint64 clock = 0;
    fx.Busy.Progress().SetClock([&] { return clock += 100; });
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QProgressDialog *w = fx.Busy.Progress().Window();
        if (w && w->isVisible())
            QTest::keyClick(w, Qt::Key_Escape);
    });
    poll.start();
    ASSERT_TRUE(WithDialog([&](TfrmChecksum &d) {
        poll.stop();
        EXPECT_TRUE(d.ValueEdits().empty());
        EXPECT_TRUE(d.ResultText().isEmpty());
        EXPECT_FALSE(d.btnCopy->isEnabled());
        EXPECT_TRUE(d.isEnabled());
    }));
    fx.Busy.Progress().SetClock({});
    EXPECT_EQ(fx.Busy.Depth(), 0);
    EXPECT_FALSE(ed.Modified());
    EXPECT_TRUE(ui.Messages.isEmpty());
}
