#include "TImportCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TFormatMessages.h"
#include "TUiServices.h"
#include "TVxFormatError.h"
#include "TVxHexcavator.h"
#include "TVxImporter.h"
#include "TVxMessageBox.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>

TImportCommands::TImportCommands(const TFeatureContext &context) : FContext(context)
{
    QObject *o = &FContext.Window;
    mnuImport = new QMenu(QStringLiteral("インポート(&T)"), &FContext.Window);
    acImportIntelHex = TCommand::Make(o, "acImportIntelHex", QStringLiteral("Intel HEX(&I)..."), QKeySequence(),
                                      QStringLiteral("Intel HEX 形式のファイルをインポート"));
    acImportSRecord = TCommand::Make(o, "acImportSRecord", QStringLiteral("Motorola Sレコード(&M)..."), QKeySequence(),
                                     QStringLiteral("Motorola Sレコード形式のファイルをインポート"));
    mnuImport->addActions({acImportIntelHex, acImportSRecord});
    FContext.Places.Add(QStringLiteral("file.import"), {mnuImport->menuAction()});
    QObject::connect(acImportIntelHex, &QAction::triggered, o, [this] { Execute(TVxRecordReader::TFormat::IntelHex); });
    QObject::connect(acImportSRecord, &QAction::triggered, o, [this] { Execute(TVxRecordReader::TFormat::SRecord); });
}

void TImportCommands::Execute(TVxRecordReader::TFormat format)
{
    const QString filter = format == TVxRecordReader::TFormat::IntelHex
                               ? QStringLiteral("Intel HEX (*.hex *.ihex *.ihx);;すべてのファイル (*)")
                               : QStringLiteral("Motorola Sレコード (*.srec *.s19 *.s28 *.s37 *.mot);;すべてのファイル (*)");
    const QString fileName = TUiServices::Instance().AskOpenFileName(&FContext.Window, QString(), filter);
    if (fileName.isEmpty())
        return;
    QString fill = FFill;
    for (;;) {
        if (!TUiServices::Instance().AskString(&FContext.Window, QStringLiteral("インポート"),
                                               QStringLiteral("データのないアドレスを埋めるバイト（16進数）:"), fill))
            return;
        bool ok = false;
        const unsigned value = fill.trimmed().toUInt(&ok, 16);
        if (ok && value <= 0xFF && !fill.contains(QLatin1Char('x'), Qt::CaseInsensitive)) {
            FFill = fill;
            Import(format, fileName, static_cast<uint8_t>(value));
            return;
        }
        FContext.Busy.Message(QStringLiteral("埋めるバイトは 00 から FF までの16進数で指定してください。"), mbIconWarning);
    }
}

bool TImportCommands::Import(TVxRecordReader::TFormat format, const QString &fileName, uint8_t fill)
{
    TVxHexcavator &ed = FContext.Editor;
    // A window that holds nothing takes the image itself, as it would take an opened file.
    const bool here = ed.FileName().empty() && !ed.Modified() && ed.FileSize() == 0;
    TVxImporter importer(format, fill);
    TTempFile handed;
    QString problem;
    const bool ok = FContext.Busy.Run(
        [&] {
            try {
                if (here)
                    ed.LoadUntitled(importer.Import(fileName.toStdString(), ed.Progress()));
                else
                    handed = importer.Import(fileName.toStdString(), ed.Progress(), TImportHandoff::Create());
            } catch (const TVxFormatError &e) {
                problem = TFormatMessages::TextOf(e);
            }
        },
        true, QStringLiteral("インポートしています"));
    if (!problem.isEmpty()) {
        FContext.Busy.Message(fileName + QStringLiteral("\r\nインポートできませんでした。\r\n") + problem, mbIconStop);
        return false;
    }
    if (!ok)
        return false;
    if (here) {
        TellStart(importer.Lowest(), importer.Size());
        return true;
    }
    if (!TImportHandoff::Hand(std::move(handed), importer.Lowest(), QCoreApplication::applicationFilePath())) {
        FContext.Busy.Message(fileName + QStringLiteral("\r\n新しいウィンドウを起動できませんでした。"), mbIconStop);
        return false;
    }
    return true;
}

bool TImportCommands::OpenHanded(const TImportHandoff::THanded &handed)
{
    TVxHexcavator &ed = FContext.Editor;
    if (!FContext.Busy.Run([&] { ed.LoadUntitled(TImportHandoff::Adopt(handed.Path)); }, true,
                           QStringLiteral("インポートしています")))
        return false;
    TellStart(handed.Start, ed.FileSize());
    return true;
}

void TImportCommands::TellStart(uint32_t lowest, int64_t size)
{
    const QString start = QString::number(lowest, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    FContext.Busy.Message(QStringLiteral("インポートしました。\r\n先頭のアドレス: %1\r\n%2 バイト").arg(start).arg(size),
                          mbIconInformation);
}
