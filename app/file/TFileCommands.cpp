#include "TFileCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TEngineMessages.h"
#include "TFileWatch.h"
#include "TRecentFiles.h"
#include "TSettingsModel.h"
#include "TCommandLine.h"
#include "TUiServices.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QFile>
#include <QFileInfo>

TFileCommands::TFileCommands(const TFeatureContext &context) : FContext(context)
{
    CreateCommands();
    FWatch = std::make_unique<TFileWatch>(context.Editor, context.Busy, [this] { Reload(); });
    FRecent = std::make_unique<TRecentFiles>(context, [this](const QString &path) { OpenFile(path); });
    // Every load and save moves the watch to the document's file as it now stands.
    FListen.Listen(context.Editor.OnFileOpen, [this] {
        FWatch->Follow();
        FRecent->VxHexcavator1FileOpen();
    });
    FListen.Listen(OnSaved, [this](bool ok) {
        if (ok)
            FWatch->Follow();
    });
    FListen.Listen(context.Editor.OnFileOpenAnyInstance, [this] { FRecent->LoadRecentFiles(); });
    auto readOnly = [this] { acSave->setEnabled(!FContext.Editor.ReadOnlyMode()); };
    FListen.Listen(context.Editor.OnChangeEditMode, readOnly);
    FListen.Listen(context.Editor.OnChangeReadOnlyMode, readOnly);
    readOnly();
    acReload->setEnabled(false);
}

TFileCommands::~TFileCommands() = default;

void TFileCommands::CreateCommands()
{
    using K = QKeySequence;
    QObject *o = &FContext.Window;
    acNew = TCommand::Make(o, "acNew", QStringLiteral("新規作成(&N)"), K(Qt::CTRL | Qt::Key_N), QStringLiteral("新規作成"), QStringLiteral("new"));
    acOpen = TCommand::Make(o, "acOpen", QStringLiteral("開く(&O)..."), K(Qt::CTRL | Qt::Key_O), QStringLiteral("開く"), QStringLiteral("open"));
    acSave = TCommand::Make(o, "acSave", QStringLiteral("上書き保存(&S)"), K(Qt::CTRL | Qt::Key_S), QStringLiteral("上書き保存"), QStringLiteral("save"));
    acSaveAs = TCommand::Make(o, "acSaveAs", QStringLiteral("名前を付けて保存(&A)..."), K(), QStringLiteral("名前を付けて保存"));
    acReload = TCommand::Make(o, "acReload", QStringLiteral("読み直し(&R)"), K(), QStringLiteral("読み直し"));
    acClose = TCommand::Make(o, "acClose", QStringLiteral("閉じる(&X)"), K(Qt::ALT | Qt::Key_F4), QStringLiteral("閉じる"), QStringLiteral("close"));

    TCommandPlaces &p = FContext.Places;
    p.Add(QStringLiteral("file.open"), {acNew, acOpen, acSave, acSaveAs});
    p.Add(QStringLiteral("file.reload"), {acReload});
    p.Add(QStringLiteral("file.close"), {acClose});
    p.Add(QStringLiteral("toolbar.close"), {acClose});
    p.Add(QStringLiteral("toolbar.file"), {acNew, acOpen, acSave});

    auto on = [o](QAction *action, auto fn) { QObject::connect(action, &QAction::triggered, o, fn); };
    on(acNew, [this] { acNewExecute(); });
    on(acOpen, [this] { acOpenExecute(); });
    on(acSave, [this] { acSaveExecute(); });
    on(acSaveAs, [this] { acSaveAsExecute(); });
    on(acReload, [this] { acReloadExecute(); });
    on(acClose, [this] { FContext.Window.close(); });
}

QString TFileCommands::ProgramPath() { return QCoreApplication::applicationFilePath(); }

QString TFileCommands::FileName() const { return QString::fromStdString(FContext.Editor.FileName()); }

bool TFileCommands::OpenFile(const QString &fileName, bool quiet)
{
    if (!QFileInfo::exists(fileName))
        return true; // nothing to open is nothing gone wrong
    TVxHexcavator &ed = FContext.Editor;
    if (!TUiServices::Instance().IsShiftDown() && !ed.FileName().empty()) {
        // The file travels as an argument of its own: no quoting to get wrong, whatever the
        // name holds.
        if (!TUiServices::Instance().StartProgram(ProgramPath(), {TCommandLine::ArgumentFor(fileName)})) {
            if (!quiet)
                FContext.Busy.Message(fileName + QStringLiteral("\r\n新しいウィンドウを起動できませんでした。"), 0x10);
            return false;
        }
        return true;
    }
    const int answer = ConfirmSaveChanges();
    if (answer != 7 && ed.Modified())
        return false;
    const std::string path = fileName.toStdString();
    TBusy opening(FContext.Busy, QStringLiteral("ファイルを開いています"));
    if (quiet) {
        try {
            ed.LoadFromFile(path);
        } catch (const std::exception &) {
            return false;
        }
    } else if (!FContext.Busy.Run([&] { ed.LoadFromFile(path); }, true)) {
        return false;
    }
    if (FContext.Settings.Values().ReadOnlyWhenFileOpen)
        ed.SetReadOnlyMode(true);
    acReload->setEnabled(!ed.FileName().empty());
    return true;
}

int TFileCommands::ConfirmSaveChanges()
{
    TVxHexcavator &ed = FContext.Editor;
    if (!ed.Modified())
        return 7;
    QString name = QFileInfo(FileName()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("無題");
    const int answer = FContext.Busy.Message(name + QStringLiteral(" への変更を保存しますか？"), 0x03 | 0x20);
    if (answer == 6) {
        if (FContext.Editor.ReadOnlyMode())
            acSaveAsExecute();
        else
            acSaveExecute();
    }
    return answer;
}

bool TFileCommands::FormCloseQuery()
{
    const int answer = ConfirmSaveChanges();
    return answer == 7 || !FContext.Editor.Modified();
}

void TFileCommands::acNewExecute()
{
    if (TCommandLine::RunCommandLine(QLatin1Char('"') + ProgramPath() + QLatin1Char('"')) != 0)
        FContext.Busy.Message(QStringLiteral("新しいウィンドウを起動できませんでした。"), 0x10);
}

void TFileCommands::acOpenExecute()
{
    const QString chosen = TUiServices::Instance().AskOpenFileName(&FContext.Window, FileName());
    if (chosen.isEmpty())
        return;
    TBusy busy(FContext.Busy);
    OpenFile(chosen);
}

bool TFileCommands::Save(const QString &fileName)
{
    TVxHexcavator &ed = FContext.Editor;
    bool ok;
    {
        TBusy busy(FContext.Busy, QStringLiteral("保存しています"));
        ok = ed.SaveToFile(fileName.toStdString(), FContext.Settings.Values().KeepUndoOnSave);
    }
    // A declined backup question is no failure; a failed write is, and says why.
    if (!ok && ed.LastWriteFailure())
        FContext.Busy.Message(fileName + QStringLiteral("\r\nファイルを保存できませんでした。\r\n") +
                                      TEngineMessages::TextOf(ed.LastWriteFailure()),
                                  0x10);
    OnSaved(ok);
    return ok;
}

void TFileCommands::acSaveExecute()
{
    if (FileName().isEmpty() || FContext.Editor.ReadOnlyMode()) {
        acSaveAsExecute();
        return;
    }
    Save(FileName());
}

void TFileCommands::acSaveAsExecute()
{
    const QString chosen = TUiServices::Instance().AskSaveFileName(&FContext.Window, FileName());
    if (!chosen.isEmpty())
        Save(chosen);
}

void TFileCommands::acReloadExecute()
{
    TVxHexcavator &ed = FContext.Editor;
    if (ed.FileName().empty())
        return;
    if (ed.Modified() && FContext.Busy.Message(QStringLiteral("変更を破棄して読み直しますか？"), 0x04 | 0x30) != 6)
        return;
    Reload();
}

void TFileCommands::Reload()
{
    TVxHexcavator &ed = FContext.Editor;
    const std::string path = ed.FileName(); // a copy: the load replaces FileName
    if (path.empty())
        return;
    TBusy busy(FContext.Busy, QStringLiteral("読み直しています"));
    FContext.Busy.Run([&] { ed.LoadFromFile(path); }, true);
}
