#include "TSearchCommands.h"

#include "TAppUtils.h"
#include "TDialogSupport.h"
#include "TUiServices.h"
#include "TVxDocumentHooks.h"
#include "TVxHexcavator.h"
#include "TVxJumpAddress.h"
#include "TVxTransfer.h"
#include "TfrmFind.h"
#include "TfrmMain.h"
#include "TfrmReplace.h"

#include <QAction>
#include <QCheckBox>

TSearchCommands::TSearchCommands(TfrmMain &main) : FMain(main), FSearch(*main.VxHexcavator1)
{
    FSearch.State().OnChangeSearchText = [this] {
        FSearchText = FSearch.SearchText();
        FSearchIgnoreCase = FSearch.SearchIgnoreCase();
        FSearchHex = FSearch.SearchHex();
    };
}

TfrmReplace *TSearchCommands::ReplaceDialog() const { return FReplace; }

TSearchCommands::~TSearchCommands() { FSearch.State().OnChangeSearchText = nullptr; }

void TSearchCommands::Connect()
{
    TMainActions &a = FMain.Actions;
    auto on = [this](QAction *action, void (TSearchCommands::*fn)()) {
        QObject::connect(action, &QAction::triggered, &FMain, [this, fn] { FMain.Run([this, fn] { (this->*fn)(); }); });
    };
    on(a.acFind, &TSearchCommands::acFindExecute);
    on(a.acFindNext, &TSearchCommands::acFindNextExecute);
    on(a.acFindPrev, &TSearchCommands::acFindPrevExecute);
    on(a.acReplace, &TSearchCommands::acReplaceExecute);
    on(a.acJump, &TSearchCommands::acJumpExecute);
    on(a.acOffsetJump, &TSearchCommands::acOffsetJumpExecute);
}

void TSearchCommands::acFindExecute()
{
    if (FReplace)
        FReplace->close();
    TfrmFind dlg(&FMain, FSearch);
    dlg.chkIgnoreCase->setChecked(FSearchIgnoreCase);
    dlg.chkHex->setChecked(FSearchHex);
    dlg.exec();
}

void TSearchCommands::FindAgain(bool backward)
{
    if (!FSearch.HasSearchText()) {
        acFindExecute();
        return;
    }
    int32_t found;
    {
        TBusy busy(QStringLiteral("検索しています"));
        found = backward ? FSearch.FindPrev() : FSearch.FindNext();
    }
    if (found < 0)
        TAppUtils::ShowAppMessage((backward ? QStringLiteral("現在位置より前に ") : QStringLiteral("現在位置より後に ")) +
                                      TVxTransfer::FromCodePage(QByteArray::fromStdString(FSearch.SearchText())) +
                                      QStringLiteral(" は見つかりませんでした。"),
                                  mbIconInformation);
}

void TSearchCommands::acFindNextExecute() { FindAgain(false); }
void TSearchCommands::acFindPrevExecute() { FindAgain(true); }

void TSearchCommands::acReplaceExecute()
{
    if (!FReplace) {
        FReplace = new TfrmReplace(FMain, FSearch);
        FReplace->chkIgnoreCase->setChecked(FSearchIgnoreCase);
        FReplace->chkHex->setChecked(FSearchHex);
    }
    FReplace->show();
    FReplace->raise();
    FReplace->activateWindow();
}

void TSearchCommands::acJumpExecute()
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    for (;;) {
        QString text = FJumpAddress;
        if (!TUiServices::Instance().AskString(&FMain, QString::fromUtf8(TVxJumpAddress::kCaption),
                                               QString::fromUtf8(TVxJumpAddress::kPrompt), text))
            return;
        const TVxJumpTarget target = TVxJumpAddress::Check(text.toStdString(), ed.FileSize());
        if (target.Check == TVxJumpCheck::Invalid) {
            // The dialog opens again with the address it had before.
            TAppUtils::ShowAppMessage(QString::fromUtf8(TVxJumpAddress::kInvalid), mbIconInformation);
            continue;
        }
        if (target.Check == TVxJumpCheck::OutOfRange || !ed.GotoOffset(target.Offset))
            TAppUtils::ShowAppMessage(QString::fromUtf8(TVxJumpAddress::kOutOfRange), mbIconStop);
        FJumpAddress = text;
        return;
    }
}

void TSearchCommands::acOffsetJumpExecute() { FMain.VxHexcavator1->OffsetJump(); }
