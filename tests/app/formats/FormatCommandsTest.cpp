// The export, import and copy-as commands as a user drives them: through the export dialog
// and the scripted file dialogs, the selection or the whole document, the files read back;
// imports into an untitled document with the start address told, in an empty window or handed
// to a new instance (the start recorded, the new instance's side played by a second
// fixture), bad input named by line with nothing opened, and only images from the private
// folder adopted; copies to the clipboard, a large one asked about first.

#include "TCopyAsCommands.h"
#include "TExportCommands.h"
#include "TFileCommands.h"
#include "TSettingsFile.h"
#include "TFeatureFixture.h"
#include "TImportCommands.h"
#include "TImportHandoff.h"
#include "TestSupport.h"
#include "TVxImporter.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {
// The temporary folder ($TMPDIR, %TMP% on Windows) moved into the test's own folder for the
// test's time, so that the images in its private folder can be counted.
struct TImageTempDir {
    explicit TImageTempDir(const QString &path) : Variable(path.toStdString()) { QDir().mkpath(path); }
    QStringList Images() const
    {
        return QDir(QString::fromStdString(TTempFile::PrivateDir())).entryList({QStringLiteral("import.*")}, QDir::Files);
    }
    TTempFolderVariable Variable;
};

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

TEST_F(FormatCommandsTest, ImportIntoAnEmptyWindowOpensTheImageThere)
{
    // The file commands follow every load: the recent files, the watch on the file.
    TFileCommands files(fx.Context());
    TFeatureFixture empty;
    TImportCommands emptyImports(empty.Context());
    const QString path = dir.filePath(QStringLiteral("in.hex"));
    // Two bytes at 100 and two at 104: a gap of two.
    WriteTestFile(path, ":020100001234B7\n:02010400ABCD81\n:00000001FF\n");
    EXPECT_TRUE(emptyImports.Import(TVxRecordReader::TFormat::IntelHex, path, 0xEE));
    EXPECT_EQ(EditorBytes(*empty.Editor), QByteArray::fromHex("1234EEEEABCD"));
    EXPECT_TRUE(empty.Editor->FileName().empty());
    EXPECT_FALSE(empty.Editor->Modified());
    EXPECT_TRUE(ui.Started.isEmpty());
    for (const std::string &recent : TSettingsFile().LoadRecentFiles())
        EXPECT_FALSE(recent.empty()) << "an untitled image is no recent file";
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("00000100"))) << ui.Messages.last().toStdString();
}

TEST_F(FormatCommandsTest, ImportBesideADocumentHandsTheImageToANewInstance)
{
    TImageTempDir temp(dir.filePath(QStringLiteral("tmp")));
    const QString path = dir.filePath(QStringLiteral("in.hex"));
    WriteTestFile(path, ":020100001234B7\n:02010400ABCD81\n:00000001FF\n");
    ed.OverwriteByte(0, 0x55, true);
    ui.FileAnswers = {path};
    ui.StringAnswers = {QStringLiteral("ee")};
    imports.acImportIntelHex->trigger();
    // This window and its unsaved change stay, and nothing was asked.
    EXPECT_EQ(EditorBytes(ed).at(0), char(0x55));
    EXPECT_TRUE(ed.Modified());
    EXPECT_TRUE(ui.Messages.isEmpty()) << ui.Messages.value(0).toStdString();
    ASSERT_EQ(ui.Started.size(), 1);
    EXPECT_EQ(ui.Started[0], QStringList{QCoreApplication::applicationFilePath()}) << "no argument: no file to open";

    // The new instance's side: the variables are taken out, the image becomes its document.
    for (const QString &entry : ui.StartedEnvironments[0])
        qputenv(entry.section(QLatin1Char('='), 0, 0).toLatin1(), entry.section(QLatin1Char('='), 1).toUtf8());
    const TImportHandoff::THanded handed = TImportHandoff::TakeFromEnvironment();
    EXPECT_FALSE(qEnvironmentVariableIsSet(TImportHandoff::kImageVariable));
    ASSERT_FALSE(handed.Path.isEmpty());
    EXPECT_EQ(handed.Start, 0x100u);
    TFeatureFixture other;
    TImportCommands otherImports(other.Context());
    ASSERT_TRUE(otherImports.OpenHanded(handed));
    EXPECT_EQ(EditorBytes(*other.Editor), QByteArray::fromHex("1234EEEEABCD"));
    EXPECT_TRUE(other.Editor->FileName().empty());
    EXPECT_FALSE(other.Editor->Modified());
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("00000100"))) << ui.Messages.last().toStdString();
    EXPECT_FALSE(QFile::exists(handed.Path)) << "the new instance deletes what it took";

    // No instance could start: told, and the image is gone.
    ui.StartFails = true;
    EXPECT_FALSE(imports.Import(TVxRecordReader::TFormat::IntelHex, path, 0xFF));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("起動できませんでした")));
    EXPECT_TRUE(temp.Images().isEmpty()) << temp.Images().join(' ').toStdString();

    // A checksum error on line 2: named, nothing starts, nothing is left behind.
    ui.StartFails = false;
    const QString bad = dir.filePath(QStringLiteral("bad.srec"));
    WriteTestFile(bad, "S10500001234B4\nS1050002ABCD81\nS9030000FC\n");
    EXPECT_FALSE(imports.Import(TVxRecordReader::TFormat::SRecord, bad, 0xFF));
    EXPECT_TRUE(ui.Messages.last().contains(QStringLiteral("2 行目: チェックサム"))) << ui.Messages.last().toStdString();
    EXPECT_EQ(ui.Started.size(), 2);
    EXPECT_TRUE(temp.Images().isEmpty());
    EXPECT_EQ(EditorBytes(ed).at(0), char(0x55));
}

TEST_F(FormatCommandsTest, OnlyImagesFromThePrivateFolderAreAdopted)
{
    TImageTempDir temp(dir.filePath(QStringLiteral("tmp")));
    TTempFile made = TImportHandoff::Create();
    const QString real = QString::fromStdString(made.Name());
    EXPECT_TRUE(TImportHandoff::IsHandedImage(real));
    const QString priv = QFileInfo(real).absolutePath();

    // Named like an image, but elsewhere; a wrong name in the right place; a relative path.
    const QString outside = dir.filePath(QStringLiteral("import.0123ABCD.orig"));
    const QString misnamed = priv + QStringLiteral("/import.0123.orig");
    WriteTestFile(outside, "keep");
    WriteTestFile(misnamed, "keep");
    QStringList refused{outside, misnamed, QStringLiteral("import.0123ABCD.orig")};
#ifndef _WIN32
    // A link in the private folder to a file elsewhere.
    const QString link = priv + QStringLiteral("/import.11111111.orig");
    ASSERT_TRUE(QFile::link(outside, link));
    refused << link;
#endif
    for (const QString &path : refused) {
        EXPECT_FALSE(TImportHandoff::IsHandedImage(path)) << path.toStdString();
        EXPECT_THROW(TImportHandoff::Adopt(path), std::runtime_error) << path.toStdString();
        qputenv(TImportHandoff::kImageVariable, path.toUtf8());
        qputenv(TImportHandoff::kStartVariable, "0");
        EXPECT_TRUE(TImportHandoff::TakeFromEnvironment().Path.isEmpty()) << path.toStdString();
        EXPECT_FALSE(qEnvironmentVariableIsSet(TImportHandoff::kStartVariable));
    }
    EXPECT_EQ(ReadTestFile(outside), "keep");
    EXPECT_EQ(ReadTestFile(misnamed), "keep");

    // At start-up an image no instance took for over a day is deleted; a fresh one, and
    // files that are no handed images however old, stay.
    TTempFile forgotten = TImportHandoff::Create();
    forgotten.Keep();
    const QString old = QString::fromStdString(forgotten.Name());
    forgotten.Handle().Close();
    const QDateTime twoDaysAgo = QDateTime::currentDateTime().addDays(-2);
    for (const QString &path : {old, misnamed, outside}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(twoDaysAgo, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(TImportHandoff::RemoveForgotten(), 1);
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(real) && QFile::exists(misnamed) && QFile::exists(outside));
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
