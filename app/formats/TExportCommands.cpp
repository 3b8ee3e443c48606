#include "TExportCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TFormatMessages.h"
#include "TUiServices.h"
#include "TVxExporter.h"
#include "TVxFormatError.h"
#include "TVxHexcavator.h"
#include "TVxIntelHexEncoder.h"
#include "TVxMessageBox.h"
#include "TVxSRecordEncoder.h"
#include "TVxTextEncoder.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <memory>

TExportCommands::TExportCommands(const TFeatureContext &context) : FContext(context)
{
    QObject *o = &FContext.Window;
    mnuExport = new QMenu(QStringLiteral("エクスポート(&E)"), &FContext.Window);
    acExportIntelHex = TCommand::Make(o, "acExportIntelHex", QStringLiteral("Intel HEX(&I)..."), QKeySequence(),
                                      QStringLiteral("Intel HEX 形式でエクスポート"));
    acExportSRecord = TCommand::Make(o, "acExportSRecord", QStringLiteral("Motorola Sレコード(&M)..."), QKeySequence(),
                                     QStringLiteral("Motorola Sレコード形式でエクスポート"));
    acExportCArray = TCommand::Make(o, "acExportCArray", QStringLiteral("C言語の配列(&C)..."), QKeySequence(),
                                    QStringLiteral("C言語の配列としてエクスポート"));
    acExportBase64 = TCommand::Make(o, "acExportBase64", QStringLiteral("Base64(&B)..."), QKeySequence(),
                                    QStringLiteral("Base64 でエクスポート"));
    mnuExport->addActions({acExportIntelHex, acExportSRecord, acExportCArray, acExportBase64});
    FContext.Places.Add(QStringLiteral("file.export"), {mnuExport->menuAction()});

    const std::pair<QAction *, TFormat> commands[] = {{acExportIntelHex, TFormat::IntelHex},
                                                      {acExportSRecord, TFormat::SRecord},
                                                      {acExportCArray, TFormat::CArray},
                                                      {acExportBase64, TFormat::Base64}};
    for (const auto &c : commands)
        QObject::connect(c.first, &QAction::triggered, o, [this, format = c.second] { Execute(format); });

    FListen.Listen(FContext.Editor.OnChangeFileSize, [this] { UpdateCommands(); });
    UpdateCommands();
}

void TExportCommands::UpdateCommands()
{
    const bool can = FContext.Editor.FileSize() > 0;
    for (QAction *a : mnuExport->actions())
        a->setEnabled(can);
}

void TExportCommands::Execute(TFormat format)
{
    if (format == TFormat::IntelHex || format == TFormat::SRecord) {
        TfrmExport dlg(&FContext.Window, format == TFormat::IntelHex ? QStringLiteral("Intel HEX のエクスポート")
                                                                   : QStringLiteral("Motorola Sレコードのエクスポート"),
                       format == TFormat::SRecord, FChoice);
        if (dlg.exec() != QDialog::Accepted)
            return;
        FChoice = dlg.Choice();
    }
    const QString fileName = TUiServices::Instance().AskSaveFileName(&FContext.Window, QString());
    if (!fileName.isEmpty())
        Export(format, fileName, FChoice);
}

bool TExportCommands::Export(TFormat format, const QString &fileName, const TfrmExport::TChoice &choice)
{
    TVxHexcavator &ed = FContext.Editor;
    int32_t offset = 0, count = ed.FileSize();
    if (ed.SelectionLength() > 0) {
        int32_t end = 0;
        ed.GetSelectionRange(offset, end);
        count = end - offset + 1;
    }
    const std::optional<uint32_t> start = choice.StartAddress();
    if (!start)
        return false;
    QString problem;
    const bool ok = FContext.Busy.Run(
        [&] {
            try {
                std::unique_ptr<TVxByteEncoder> encoder;
                switch (format) {
                case TFormat::IntelHex:
                    TVxExporter::CheckAddresses(*start, count);
                    encoder = std::make_unique<TVxIntelHexEncoder>(*start, choice.RecordBytes);
                    break;
                case TFormat::SRecord:
                    TVxExporter::CheckAddresses(*start, count);
                    encoder = std::make_unique<TVxSRecordEncoder>(*start, count, choice.RecordBytes, choice.CountRecord);
                    break;
                case TFormat::CArray:
                    encoder = std::make_unique<TVxTextEncoder>(TVxTextEncoder::TKind::CArray, count);
                    break;
                case TFormat::Base64:
                    encoder = std::make_unique<TVxTextEncoder>(TVxTextEncoder::TKind::Base64, count);
                    break;
                }
                TVxExporter::Export(ed, offset, count, *encoder, fileName.toStdString(), ed.Progress());
            } catch (const TVxFormatError &e) {
                problem = TFormatMessages::TextOf(e);
            }
        },
        true, QStringLiteral("エクスポートしています"));
    if (!problem.isEmpty())
        FContext.Busy.Message(fileName + QStringLiteral("\r\nエクスポートできませんでした。\r\n") + problem, mbIconStop);
    return ok && problem.isEmpty();
}
