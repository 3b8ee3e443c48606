#include "TEditCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TUiServices.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>

TEditCommands::TEditCommands(const TFeatureContext &context) : FContext(context), FTransfer(context.Editor, context.Busy)
{
    CreateCommands();
    PlaceCommands();
    ConnectCommands();
    TVxHexcavator &ed = context.Editor;
    FListen.Listen(ed.OnMoveCell, [this] { UpdateSelectionState(); });
    FListen.Listen(ed.OnChangeEditMode, [this] { UpdateEditModeState(); });
    FListen.Listen(ed.OnChangeReadOnlyMode, [this] { UpdateEditModeState(); });
    FListen.Listen(ed.OnChangeUndo, [this](int32_t undoCount) {
        acUndo->setEnabled(undoCount > 0);
        acRedo->setEnabled(FContext.Editor.RedoCount() > 0);
        UpdateSelectionState();
    });
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, acPaste, [this] {
        UpdatePasteState();
        acClearClipBoard->setEnabled(acPaste->isEnabled());
    });
    acCut->setEnabled(false);
    acCopyText->setEnabled(false);
    UpdateEditModeState();
}

TEditCommands::~TEditCommands() = default;

void TEditCommands::CreateCommands()
{
    using K = QKeySequence;
    QObject *o = &FContext.Window;
    acUndo = TCommand::Make(o, "acUndo", QStringLiteral("元に戻す(&U)"), K(Qt::CTRL | Qt::Key_Z), QStringLiteral("元に戻す"), QStringLiteral("undo"));
    acUndo->setEnabled(false);
    acRedo = TCommand::Make(o, "acRedo", QStringLiteral("やり直し(&R)"), K(Qt::CTRL | Qt::Key_Y), QStringLiteral("やり直し"), QStringLiteral("redo"));
    acRedo->setShortcuts({K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    acRedo->setEnabled(false);
    acCut = TCommand::Make(o, "acCut", QStringLiteral("切り取り(&X)"), K(Qt::CTRL | Qt::Key_X), QStringLiteral("切り取り"), QStringLiteral("cut"));
    acCopy = TCommand::Make(o, "acCopy", QStringLiteral("コピー(&C)"), K(Qt::CTRL | Qt::Key_C), QStringLiteral("コピー"), QStringLiteral("copy"));
    acCopyText = TCommand::Make(o, "acCopyText", QStringLiteral("テキスト形式でコピー(&T)"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_C), QString());
    acPaste = TCommand::Make(o, "acPaste", QStringLiteral("貼り付け(&P)"), K(Qt::CTRL | Qt::Key_V), QStringLiteral("貼り付け("), QStringLiteral("paste"));
    acDelete = TCommand::Make(o, "acDelete", QStringLiteral("削除(&D)"), K(Qt::Key_Delete), QStringLiteral("削除"));
    acInputStr = TCommand::Make(o, "acInputStr", QStringLiteral("文字列の入力(&I)..."), K(Qt::CTRL | Qt::Key_I), QString());
    acSelectAll = TCommand::Make(o, "acSelectAll", QStringLiteral("全て選択(&A)"), K(Qt::CTRL | Qt::Key_A), QStringLiteral("全て選択"));
    acReadOnly = TCommand::Checkable(TCommand::Make(o, "acReadOnly", QStringLiteral("書き換え禁止(&O)"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                                          QStringLiteral("書き換え禁止"), QStringLiteral("readonly")),
                                     false);
    acClearClipBoard = TCommand::Make(o, "acClearClipBoard", QStringLiteral("クリップボードの内容をクリア(&F)"), K(),
                            QStringLiteral("クリップボードの内容をクリア"));
    acInsertFile = TCommand::Make(o, "acInsertFile", QStringLiteral("ファイルから挿入(&C)..."), K(), QStringLiteral("ファイルから挿入"));
}

void TEditCommands::PlaceCommands()
{
    TCommandPlaces &p = FContext.Places;
    p.Add(QStringLiteral("file.insert"), {acInsertFile});
    p.Add(QStringLiteral("edit.undo"), {acUndo, acRedo});
    p.Add(QStringLiteral("edit.clipboard"), {acCut, acCopy, acCopyText, acPaste, acDelete});
    p.Add(QStringLiteral("edit.input"), {acInputStr});
    p.Add(QStringLiteral("edit.select"), {acSelectAll, acReadOnly});
    p.Add(QStringLiteral("edit.tools"), {acClearClipBoard});
    p.Add(QStringLiteral("toolbar.undo"), {acUndo, acRedo});
    p.Add(QStringLiteral("toolbar.clipboard"), {acCut, acCopy, acPaste});
    p.Add(QStringLiteral("toolbar.readonly"), {acReadOnly});
    p.Add(QStringLiteral("editor.undo"), {acUndo, acRedo});
    p.Add(QStringLiteral("editor.clipboard"), {acCut, acCopy, acCopyText, acPaste});
    p.Add(QStringLiteral("editor.delete"), {acDelete});
    p.Add(QStringLiteral("editor.input"), {acInputStr});
}

void TEditCommands::ConnectCommands()
{
    TVxHexcavator *ed = &FContext.Editor;
    TBusyState *busy = &FContext.Busy;
    TVxTransfer *t = &FTransfer;
    auto on = [this](QAction *action, auto fn) { QObject::connect(action, &QAction::triggered, &FContext.Window, fn); };
    on(acUndo, [busy, ed] { busy->Run([ed] { ed->Undo(); }, true, QStringLiteral("元に戻しています")); });
    on(acRedo, [busy, ed] { busy->Run([ed] { ed->Redo(); }, true, QStringLiteral("やり直しています")); });
    on(acCut, [busy, t] { busy->Run([t] { t->CutToClipboard(); }, true, QStringLiteral("切り取っています")); });
    on(acCopy, [busy, t] { busy->Run([t] { t->CopyToClipboard(); }, true); });
    on(acCopyText, [busy, t] { busy->Run([t] { t->CopyAsText(); }); });
    on(acPaste, [busy, t] { busy->Run([t] { t->PasteCommand(); }, true, QStringLiteral("貼り付けています")); });
    on(acDelete, [busy, ed] { busy->Run([ed] { ed->DeleteAtCaret(); }, true, QStringLiteral("削除しています")); });
    on(acInputStr, [this] { acInputStrExecute(); });
    on(acSelectAll, [ed] {
        if (ed->FileSize() > 0)
            ed->SetSelection(0, ed->FileSize() - 1);
    });
    on(acReadOnly, [this, ed] {
        ed->SetReadOnlyMode(acReadOnly->isChecked());
        UpdatePasteState();
    });
    on(acClearClipBoard, [] { QGuiApplication::clipboard()->clear(); });
    on(acInsertFile, [this] { acInsertFileExecute(); });
}

void TEditCommands::acInputStrExecute()
{
    QString text;
    if (TUiServices::Instance().AskString(&FContext.Window, QStringLiteral("文字列入力"),
                                          QStringLiteral("文字列を入力してください。"), text))
        FContext.Busy.Run([this, text] { FTransfer.InsertText(text); }, true,
                          QStringLiteral("挿入しています"));
}

void TEditCommands::acInsertFileExecute()
{
    const QString chosen = TUiServices::Instance().AskOpenFileName(&FContext.Window, FLastInsertDir);
    if (chosen.isEmpty())
        return;
    FLastInsertDir = QFileInfo(chosen).absolutePath();
    FContext.Busy.Run([&] { FTransfer.InsertFromFile(chosen); }, true, QStringLiteral("ファイルから挿入しています"));
}

void TEditCommands::UpdateSelectionState()
{
    const TVxHexcavator &ed = FContext.Editor;
    const int32_t s = ed.SelectionLength();
    acCut->setEnabled(!ed.ReadOnlyMode() && s > 0);
    acCopy->setEnabled(s > 0);
    acCopyText->setEnabled(acCopy->isEnabled());
    acDelete->setEnabled(ed.CanDelete());
}

void TEditCommands::UpdateEditModeState()
{
    const bool readOnly = FContext.Editor.ReadOnlyMode();
    for (QAction *a : {acInputStr, acInsertFile})
        a->setEnabled(!readOnly);
    acReadOnly->setChecked(readOnly);
    UpdatePasteState();
    UpdateSelectionState();
}

void TEditCommands::UpdatePasteState()
{
    acPaste->setEnabled(!FContext.Editor.ReadOnlyMode() &&
                        (TVxTransfer::ClipboardHasBinary() || TVxTransfer::ClipboardHasText()));
}
