#include "TChecksumCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TVxChecksumRunner.h"
#include "TVxHexcavator.h"
#include "TfrmChecksum.h"

#include <QAction>
#include <QMainWindow>

TChecksumCommands::TChecksumCommands(const TFeatureContext &context) : FContext(context)
{
    acChecksum = TCommand::Make(&context.Window, "acChecksum", QStringLiteral("チェックサム(&S)..."), QKeySequence(), QString());
    context.Places.Add(QStringLiteral("tools.checksum"), {acChecksum});
    QObject::connect(acChecksum, &QAction::triggered, &FLife, [this] { acChecksumExecute(); });
}

void TChecksumCommands::Range(int64_t &offset, int64_t &count) const
{
    int32_t start, end;
    FContext.Editor.GetSelectionRange(start, end);
    if (start < 0) {
        offset = 0;
        count = FContext.Editor.FileSize();
    } else {
        offset = start;
        count = int64_t(end) - start + 1;
    }
}

QString TChecksumCommands::RangeText() const
{
    int64_t offset, count;
    Range(offset, count);
    if (count == 0)
        return QStringLiteral("範囲: なし (0 バイト)");
    const auto hex = [](int64_t v) { return QString::number(v, 16).toUpper().rightJustified(8, QLatin1Char('0')); };
    return QStringLiteral("範囲: %1 - %2 (%3 バイト)").arg(hex(offset), hex(offset + count - 1)).arg(count);
}

std::optional<std::vector<TVxChecksumResult>> TChecksumCommands::Compute(const std::vector<TVxChecksum> &kinds)
{
    int64_t offset, count;
    Range(offset, count);
    std::vector<TVxChecksumResult> results;
    const bool ok = FContext.Busy.Run(
        [&] { results = TVxChecksumRunner::Run(FContext.Editor, offset, count, kinds, &FContext.Busy.Progress()); },
        true, QStringLiteral("チェックサム"));
    if (!ok)
        return std::nullopt;
    return results;
}

std::vector<TVxChecksum> TChecksumCommands::Chosen() const
{
    return TVxChecksumKinds::FromKeys(FContext.Settings.Values().ChecksumAlgorithms);
}

void TChecksumCommands::acChecksumExecute()
{
    TfrmChecksum dlg(
        &FContext.Window, RangeText(), Chosen(), [this](const std::vector<TVxChecksum> &kinds) { return Compute(kinds); },
        [this](const std::vector<TVxChecksum> &kinds) {
            FContext.Settings.Values().ChecksumAlgorithms = TVxChecksumKinds::ToKeys(kinds);
        });
    dlg.exec();
}
