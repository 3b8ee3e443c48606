#include "TEngineQuestions.h"

#include "TEngineMessages.h"
#include "TVxMessageBox.h"

#include <QTimer>

#include <utility>

TEngineQuestions::TEngineQuestions(QObject *owner, TShow show) : QObject(owner), FShow(std::move(show)) {}

bool TEngineQuestions::AskOverwriteChangedFile(const std::string &path)
{
    return FShow(TEngineMessages::OverwriteChangedFile(path), mbYesNo | mbIconQuestion) == idYes;
}

bool TEngineQuestions::AskSaveWithoutBackup(const std::string &path)
{
    return FShow(TEngineMessages::SaveWithoutBackup(path), mbYesNo | mbIconWarning) == idYes;
}

void TEngineQuestions::JournalRecovered(const std::string &path)
{
    FShow(TEngineMessages::JournalRecovered(path), mbOK | mbIconInformation);
}

void TEngineQuestions::WorkCopyFull(const std::string &path, const std::string &why)
{
    const QString text = TEngineMessages::WorkCopyFull(path, why);
    QTimer::singleShot(0, this, [this, text] { FShow(text, mbOK | mbIconWarning); });
}
