#include "TSearchCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TUiServices.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"
#include "TVxJumpAddress.h"
#include "TfrmFind.h"
#include "TfrmReplace.h"

#include <QMainWindow>

#include <QAction>
#include <QCheckBox>

TSearchCommands::TSearchCommands(const TFeatureContext &context) : FContext(context), FSearch(context.Editor)
{
    FSearch.State().OnChangeSearchText = [this] {
        FSearchText = FSearch.SearchText();
        FSearchIgnoreCase = FSearch.SearchIgnoreCase();
        FSearchHex = FSearch.SearchHex();
    };
    CreateCommands();
    auto readOnly = [this] { acReplace->setEnabled(!FContext.Editor.ReadOnlyMode()); };
    FListen.Listen(context.Editor.OnChangeEditMode, readOnly);
    FListen.Listen(context.Editor.OnChangeReadOnlyMode, readOnly);
    readOnly();
    context.Settings.AddSection([this](const TSettings &s, bool sole) { Apply(s, sole); },
                                [this](TSettings &s) { Collect(s); });
}

TfrmReplace *TSearchCommands::ReplaceDialog() const { return FReplace; }

TSearchCommands::~TSearchCommands()
{
    FSearch.State().OnChangeSearchText = nullptr;
    delete FReplace; // it points into the search and the editor
}

void TSearchCommands::CreateCommands()
{
    using K = QKeySequence;
    QObject *o = &FContext.Window;
    acFind = TCommand::Make(o, "acFind", QStringLiteral("検索(&F)..."), K(Qt::CTRL | Qt::Key_F), QStringLiteral("検索"), QStringLiteral("find"));
    acFindNext = TCommand::Make(o, "acFindNext", QStringLiteral("次を検索(&N)"), K(Qt::Key_F3), QStringLiteral("次を検索"), QStringLiteral("findnext"));
    acFindPrev = TCommand::Make(o, "acFindPrev", QStringLiteral("前を検索(&P)"), K(Qt::SHIFT | Qt::Key_F3), QStringLiteral("前を検索"),
                      QStringLiteral("findprev"));
    acReplace = TCommand::Make(o, "acReplace", QStringLiteral("置換(&R)..."), K(Qt::CTRL | Qt::Key_H), QString());
    acOffsetJump = TCommand::Make(o, "acOffsetJump", QStringLiteral("オフセットジャンプ(&O)"), K(Qt::Key_F4), QStringLiteral("オフセットジャンプ"));
    acJump = TCommand::Make(o, "acJump", QStringLiteral("指定アドレスにジャンプ(&J)..."), K(Qt::CTRL | Qt::Key_G),
                  QStringLiteral("指定アドレスにジャンプ"));

    TCommandPlaces &p = FContext.Places;
    p.Add(QStringLiteral("search.find"), {acFind});
    p.Add(QStringLiteral("search.again"), {acFindNext, acFindPrev});
    p.Add(QStringLiteral("search.replace"), {acReplace});
    p.Add(QStringLiteral("search.jump"), {acOffsetJump, acJump});
    p.Add(QStringLiteral("toolbar.find"), {acFind, acFindNext, acFindPrev});

    auto on = [this, o](QAction *action, void (TSearchCommands::*fn)()) {
        QObject::connect(action, &QAction::triggered, o, [this, fn] { FContext.Busy.Run([this, fn] { (this->*fn)(); }); });
    };
    on(acFind, &TSearchCommands::acFindExecute);
    on(acFindNext, &TSearchCommands::acFindNextExecute);
    on(acFindPrev, &TSearchCommands::acFindPrevExecute);
    on(acReplace, &TSearchCommands::acReplaceExecute);
    on(acJump, &TSearchCommands::acJumpExecute);
    on(acOffsetJump, &TSearchCommands::acOffsetJumpExecute);
}

void TSearchCommands::Apply(const TSettings &s, bool soleInstance)
{
    FJumpAddress = QString::fromStdString(s.JumpAddress);
    if (soleInstance)
        FSearch.State().SetSearchText(s.SearchText, s.SearchIgnoreCase, true,
                                      s.SearchHex);
}

void TSearchCommands::Collect(TSettings &s) const
{
    s.JumpAddress = FJumpAddress.toStdString();
    s.SearchText = FSearchText;
    s.SearchIgnoreCase = FSearchIgnoreCase;
    s.SearchHex = FSearchHex;
}

void TSearchCommands::acFindExecute()
{
    if (FReplace)
        FReplace->close();
    TfrmFind dlg(&FContext.Window, FContext.Busy, FSearch);
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
        TBusy busy(FContext.Busy, QStringLiteral("検索しています"));
        found = backward ? FSearch.FindPrev() : FSearch.FindNext();
    }
    if (found < 0)
        FContext.Busy.Message((backward ? QStringLiteral("現在位置より前に ") : QStringLiteral("現在位置より後に ")) +
                                      QString::fromStdString(FSearch.SearchText()) +
                                      QStringLiteral(" は見つかりませんでした。"),
                                  mbIconInformation);
}

void TSearchCommands::acFindNextExecute() { FindAgain(false); }
void TSearchCommands::acFindPrevExecute() { FindAgain(true); }

void TSearchCommands::acReplaceExecute()
{
    if (!FReplace) {
        FReplace = new TfrmReplace(FContext.Window, FContext.Busy, FContext.Editor, FSearch);
        FReplace->chkIgnoreCase->setChecked(FSearchIgnoreCase);
        FReplace->chkHex->setChecked(FSearchHex);
    }
    FReplace->show();
    FReplace->raise();
    FReplace->activateWindow();
}

void TSearchCommands::acJumpExecute()
{
    TVxHexcavator &ed = FContext.Editor;
    for (;;) {
        QString text = FJumpAddress;
        if (!TUiServices::Instance().AskString(&FContext.Window, QString::fromUtf8(TVxJumpAddress::kCaption),
                                               QString::fromUtf8(TVxJumpAddress::kPrompt), text))
            return;
        const TVxJumpTarget target = TVxJumpAddress::Check(text.toStdString(), ed.FileSize());
        if (target.Check == TVxJumpCheck::Invalid) {
            // The dialog opens again with the address it had before.
            FContext.Busy.Message(QString::fromUtf8(TVxJumpAddress::kInvalid), mbIconInformation);
            continue;
        }
        if (target.Check == TVxJumpCheck::OutOfRange || !ed.GotoOffset(target.Offset))
            FContext.Busy.Message(QString::fromUtf8(TVxJumpAddress::kOutOfRange), mbIconStop);
        FJumpAddress = text;
        return;
    }
}

void TSearchCommands::acOffsetJumpExecute() { FContext.Editor.OffsetJump(); }
