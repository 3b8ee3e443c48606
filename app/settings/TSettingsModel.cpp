#include "TSettingsModel.h"

#include "TBusyState.h"
#include "TSettingsFile.h"

#include <QFile>
#include <QTimer>
#include <QWidget>

void TSettingsModel::AddSection(TApply apply, TCollect collect)
{
    FSections.push_back({std::move(apply), std::move(collect)});
}

void TSettingsModel::Load(bool soleInstance)
{
    const TSettingsFile file;
    Apply(file.Load(), soleInstance, file.FileName());
}

void TSettingsModel::Apply(const TSettings &s, bool soleInstance, const std::string &fileName)
{
    FValues = s;
    FValues.Ignored.clear();
    for (const TSection &section : FSections)
        section.Apply(s, soleInstance);

    if (!s.Ignored.empty()) {
        QString text = QString::fromStdString(fileName) +
                       QStringLiteral("\r\n次の設定値は正しくないため、既定値を使います。");
        for (const std::string &key : s.Ignored)
            text += QStringLiteral("\r\n") + QString::fromStdString(key);
        QTimer::singleShot(0, FBusy.Window(), [this, text] { FBusy.Message(text, 0x30); });
    }
}

TSettings TSettingsModel::Collect()
{
    for (const TSection &section : FSections)
        section.Collect(FValues);
    return FValues;
}

void TSettingsModel::Save() { TSettingsFile().Save(Collect()); }
