// The export, import and copy-as commands as a user drives them: through the export dialog
// and the scripted file dialogs, the selection or the whole document, the files read back;
// imports into an untitled document with the start address told, bad input named by line
// with the document kept; copies to the clipboard, a large one asked about first.

#include "TCopyAsCommands.h"
#include "TExportCommands.h"
#include "TFileCommands.h"
#include "TSettingsFile.h"
#include "TFeatureFixture.h"
#include "TImportCommands.h"
#include "TVxImporter.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
struct FormatCommandsTest : TFeatureTest {
    TExportCommands exports{fx.Context()};
    TImportCommands imports{fx.Context()};
    TCopyAsCommands copies{fx.Context()};
    QByteArray original;

    void SetUp() override
    {
        for (int i = 0; i < 300; ++i)
            original.append(char(i * 13 + 1));
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        WriteTestFile(path, original);
        ed.LoadFromFile(path.toStdString());
        fx.Window.show();
    }
    QByteArray ReadImage(TVxRecordReader::TFormat format, const QString &path, uint32_t &lowest)
    {
        TVxImporter importer(format, 0xFF);
        TTempFile image = importer.Import(path.toStdString(), nullptr);
        QByteArray bytes(static_cast<int>(importer.Size()), '\0');
        image.Handle().ReadExact(0, bytes.data(), static_cast<size_t>(bytes.size()));
        lowest = importer.Lowest();
        return bytes;
    }
};
} // namespace

TEST_F(FormatCommandsTest, ExportsWriteTheSelectionOrTheWholeDocument)
{
    const QString hex = dir.filePath(QStringLiteral("out.hex"));
    ed.SetSelection(10, 109);
    ui.FileAnswers = {hex};
    ASSERT_TRUE(DriveDialog<TfrmExport>(exports.acExportIntelHex, [&](TfrmExport &d) {
        // Not an address: told, and the dialog stays.
        d.edtStart->setText(QStringLiteral("G0"));
        QTest::keyClick(d.edtStart, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(ui.Messages.value(0).contains(QStringLiteral("FFFFFFFF")));
        d.edtStart->setText(QStringLiteral("1fff0"));
        d.cbRecordBytes->setCurrentIndex(1);
        QTest::keyClick(d.edtStart, Qt::Key_Return);
    }));
    uint32_t lowest = 0;
    EXPECT_EQ(ReadImage(TVxRecordReader::TFormat::IntelHex, hex, lowest), original.mid(10, 100));
    EXPECT_EQ(lowest, 0x1FFF0u);
    EXPECT_TRUE(ReadTestFile(hex).contains(":020000040002F8")) << "an extended address past 64 KiB";

    // Nothing selected: the whole document; the dialog opens with the last choice.
    ed.SetSelection(-1, -1);
    const QString srec = dir.filePath(QStringLiteral("out.srec"));
    ui.FileAnswers = {srec};
    ASSERT_TRUE(DriveDialog<TfrmExport>(exports.acExportSRecord, [&](TfrmExport &d) {
        EXPECT_EQ(d.edtStart->text(), QStringLiteral("1fff0"));
        d.edtStart->setText(QStringLiteral("0"));
        d.accept();
    }));
    EXPECT_EQ(ReadImage(TVxRecordReader::TFormat::SRecord, srec, lowest), original);
    EXPECT_TRUE(ReadTestFile(srec).startsWith("S0"));

    const QString c = dir.filePath(QStringLiteral("out.c"));
    ui.FileAnswers = {c};
    exports.acExportCArray->trigger();
    EXPECT_TRUE(ReadTestFile(c).startsWith("unsigned char data[300] = {\n    0x01, 0x0E,"));
    const QString b64 = dir.filePath(QStringLiteral("out.b64"));
    ui.FileAnswers = {b64};
    exports.acExportBase64->trigger();
    EXPECT_EQ(QByteArray::fromBase64(ReadTestFile(b64)), original);

    // Addresses past FFFFFFFF: refused, nothing written.
    const QString high = dir.filePath(QStringLiteral("high.hex"));
    TfrmExport::TChoice choice;
    choice.Start = QStringLiteral("FFFFFF00");
    EXPECT_FALSE(exports.Export(TExportCommands::TFormat::IntelHex, high, choice));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("FFFFFFFF")));
    EXPECT_FALSE(QFile::exists(high));
}

TEST_F(FormatCommandsTest, ImportOpensTheImageUntitledAndRefusesBadInput)
{
    // The file commands follow every load: the recent files, the watch on the file.
    TFileCommands files(fx.Context());
    const QString path = dir.filePath(QStringLiteral("in.hex"));
    // Two bytes at 100 and two at 104: a gap of two.
    WriteTestFile(path, ":020100001234B7\n:02010400ABCD81\n:00000001FF\n");
    ed.OverwriteByte(0, 0x55, true);
    ui.FileAnswers = {path, path};
    ui.StringAnswers = {QStringLiteral("00"), QStringLiteral("ee")};
    ui.Answers = {idNo, idYes};
    imports.acImportIntelHex->trigger();
    EXPECT_EQ(EditorBytes(ed).at(0), char(0x55)) << "the changes were kept";
    imports.acImportIntelHex->trigger();
    EXPECT_EQ(EditorBytes(ed), QByteArray::fromHex("1234EEEEABCD"));
    EXPECT_TRUE(ed.FileName().empty());
    EXPECT_FALSE(ed.Modified());
    for (const std::string &recent : TSettingsFile().LoadRecentFiles())
        EXPECT_FALSE(recent.empty()) << "an untitled image is no recent file";
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("00000100"))) << ui.Messages.last().toStdString();

    // A checksum error on line 2: named, and the document stays.
    const QString bad = dir.filePath(QStringLiteral("bad.srec"));
    WriteTestFile(bad, "S10500001234B4\nS1050002ABCD81\nS9030000FC\n");
    EXPECT_FALSE(imports.Import(TVxRecordReader::TFormat::SRecord, bad, 0xFF));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("2 行目: チェックサム"))) << ui.Messages.last().toStdString();
    EXPECT_EQ(EditorBytes(ed), QByteArray::fromHex("1234EEEEABCD"));
}

TEST_F(FormatCommandsTest, CopyAsPutsTheSelectionOnTheClipboard)
{
    EXPECT_FALSE(copies.acCopyAsHexString->isEnabled());
    ed.SetSelection(1, 3);
    ASSERT_TRUE(copies.acCopyAsHexString->isEnabled());
    copies.acCopyAsHexString->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(original.mid(1, 3).toHex().toUpper()));
    copies.acCopyAsPython->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("b'\\x0e\\x1b\\x28'"));
    copies.acCopyAsCArray->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("unsigned char data[3] = {\n    0x0E, 0x1B, 0x28\n};\n"));
    copies.acCopyAsBase64->trigger();
    EXPECT_EQ(QByteArray::fromBase64(QGuiApplication::clipboard()->text().toLatin1()), original.mid(1, 3));

    // Above 16 MiB the user is asked; no keeps the clipboard as it was.
    const QString big = dir.filePath(QStringLiteral("big.bin"));
    WriteTestFile(big, QByteArray(TCopyAsCommands::kAskAbove + 1, 'a'));
    ed.LoadFromFile(big.toStdString());
    ed.SetSelection(0, ed.FileSize() - 1);
    ui.Answers = {idNo};
    EXPECT_FALSE(copies.CopyAs(TVxTextEncoder::TKind::HexString));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("コピーしますか")));
    EXPECT_EQ(QByteArray::fromBase64(QGuiApplication::clipboard()->text().toLatin1()), original.mid(1, 3));
}
