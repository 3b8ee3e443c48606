#include "TFileCommands.h"

#include "TAppUtils.h"
#include "TCommandLine.h"
#include "TCommandLineFiles.h"
#include "TEngineMessages.h"
#include "TUiServices.h"
#include "TVxHexcavator.h"
#include "TVxTransfer.h"
#include "TfrmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

void TFileCommands::Connect()
{
    TMainActions &a = FMain.Actions;
    QObject::connect(a.acNew, &QAction::triggered, &FMain, [this] { acNewExecute(); });
    QObject::connect(a.acOpen, &QAction::triggered, &FMain, [this] { acOpenExecute(); });
    QObject::connect(a.acSave, &QAction::triggered, &FMain, [this] { acSaveExecute(); });
    QObject::connect(a.acSaveAs, &QAction::triggered, &FMain, [this] { acSaveAsExecute(); });
    QObject::connect(a.acReload, &QAction::triggered, &FMain, [this] { acReloadExecute(); });
    QObject::connect(a.acInsertFile, &QAction::triggered, &FMain, [this] { acInsertFileExecute(); });
    QObject::connect(a.acClose, &QAction::triggered, &FMain, [this] { FMain.close(); });
}

QString TFileCommands::ProgramPath() { return QCoreApplication::applicationFilePath(); }

QString TFileCommands::FileName() const { return QFile::decodeName(FMain.VxHexcavator1->FileName().c_str()); }

bool TFileCommands::OpenFile(const QString &fileName, bool quiet)
{
    if (!QFileInfo::exists(fileName))
        return true; // nothing to open is nothing gone wrong
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    if (!TUiServices::Instance().IsShiftDown() && !ed.FileName().empty()) {
        // The file travels as an argument of its own: no quoting to get wrong, whatever the
        // name holds.
        if (!TUiServices::Instance().StartProgram(ProgramPath(), {TCommandLineFiles::ArgumentFor(fileName)})) {
            if (!quiet)
                TAppUtils::ShowAppMessage(fileName + QStringLiteral("\r\n新しいウィンドウを起動できませんでした。"), 0x10);
            return false;
        }
        return true;
    }
    const int answer = ConfirmSaveChanges();
    if (answer != 7 && ed.Modified())
        return false;
    const std::string path = QFile::encodeName(fileName).toStdString();
    TBusy opening(QStringLiteral("ファイルを開いています"));
    if (quiet) {
        try {
            ed.LoadFromFile(path);
        } catch (const std::exception &) {
            return false;
        }
    } else if (!FMain.Run([&] { ed.LoadFromFile(path); }, true)) {
        return false;
    }
    if (FReadOnlyWhenFileOpen)
        ed.SetReadOnlyMode(true);
    FMain.UpdateTitle();
    FMain.Actions.acReload->setEnabled(!ed.FileName().empty());
    return true;
}

int TFileCommands::ConfirmSaveChanges()
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    if (!ed.Modified())
        return 7;
    QString name = QFileInfo(FileName()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("無題");
    const int answer = TAppUtils::ShowAppMessage(name + QStringLiteral(" への変更を保存しますか？"), 0x03 | 0x20);
    if (answer == 6) {
        if (FMain.Actions.acReadOnly->isChecked())
            acSaveAsExecute();
        else
            acSaveExecute();
    }
    return answer;
}

bool TFileCommands::FormCloseQuery()
{
    const int answer = ConfirmSaveChanges();
    return answer == 7 || !FMain.VxHexcavator1->Modified();
}

void TFileCommands::acNewExecute()
{
    if (TCommandLine::RunCommandLine(QLatin1Char('"') + ProgramPath() + QLatin1Char('"')) != 0)
        TAppUtils::ShowAppMessage(QStringLiteral("新しいウィンドウを起動できませんでした。"), 0x10);
}

void TFileCommands::acOpenExecute()
{
    const QString chosen = TUiServices::Instance().AskOpenFileName(&FMain, FileName());
    if (chosen.isEmpty())
        return;
    TBusy busy;
    OpenFile(chosen);
}

bool TFileCommands::Save(const QString &fileName)
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    bool ok;
    {
        TBusy busy(QStringLiteral("保存しています"));
        ok = ed.SaveToFile(QFile::encodeName(fileName).toStdString(), FKeepUndoOnSave);
    }
    // A declined backup question is no failure; a failed write is, and says why.
    if (!ok && !ed.LastWriteError().empty())
        TAppUtils::ShowAppMessage(fileName + QStringLiteral("\r\nファイルを保存できませんでした。\r\n") +
                                      TEngineMessages::TextOf(ed.LastWriteFailure()),
                                  0x10);
    FMain.UpdateTitle();
    if (ok && OnSaved)
        OnSaved();
    return ok;
}

void TFileCommands::acSaveExecute()
{
    if (FileName().isEmpty() || FMain.Actions.acReadOnly->isChecked()) {
        acSaveAsExecute();
        return;
    }
    Save(FileName());
}

void TFileCommands::acSaveAsExecute()
{
    const QString chosen = TUiServices::Instance().AskSaveFileName(&FMain, FileName());
    if (!chosen.isEmpty())
        Save(chosen);
}

void TFileCommands::acReloadExecute()
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    if (ed.FileName().empty())
        return;
    if (ed.Modified() && TAppUtils::ShowAppMessage(QStringLiteral("変更を破棄して読み直しますか？"), 0x04 | 0x30) != 6)
        return;
    Reload();
}

void TFileCommands::Reload()
{
    TVxHexcavator &ed = *FMain.VxHexcavator1;
    const std::string path = ed.FileName(); // a copy: the load replaces FileName
    if (path.empty())
        return;
    TBusy busy(QStringLiteral("読み直しています"));
    FMain.Run([&] { ed.LoadFromFile(path); }, true);
    FMain.UpdateTitle();
}

void TFileCommands::acInsertFileExecute()
{
    const QString chosen = TUiServices::Instance().AskOpenFileName(&FMain, FLastInsertDir);
    if (chosen.isEmpty())
        return;
    FLastInsertDir = QFileInfo(chosen).absolutePath();
    FMain.Run([&] { FMain.Transfer().InsertFromFile(chosen); }, true, QStringLiteral("ファイルから挿入しています"));
}
