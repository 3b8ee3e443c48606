#include "TCompareCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TComparePane.h"
#include "TSettingsFile.h"
#include "TVxDocumentSource.h"
#include "TVxFileSource.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"
#include "TfrmCompare.h"

#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QStatusBar>

TCompareCommands::TCompareCommands(const TFeatureContext &context) : FContext(context)
{
    using K = QKeySequence;
    QObject *o = &context.Window;
    acCompare = TCommand::Make(o, "acCompare", QStringLiteral("ファイルの比較(&C)..."), K(), QString());
    acNextDiff = TCommand::Make(o, "acNextDiff", QStringLiteral("次の相違点(&N)"), K(Qt::Key_F7), QString());
    acPrevDiff = TCommand::Make(o, "acPrevDiff", QStringLiteral("前の相違点(&P)"), K(Qt::SHIFT | Qt::Key_F7), QString());
    acEndCompare = TCommand::Make(o, "acEndCompare", QStringLiteral("比較の終了(&E)"), K(), QString());
    context.Places.Add(QStringLiteral("tools.compare"), {acCompare, acNextDiff, acPrevDiff, acEndCompare});
    FPane = std::make_unique<TComparePane>(context.Window, context.Editor, context.Busy.Progress());
    // The count in a status panel of its own, shown while a compare is.
    FStatus = new QLabel(&context.Window);
    FStatus->setObjectName(QStringLiteral("CompareStatus"));
    context.Window.statusBar()->addPermanentWidget(FStatus);
    FStatus->hide();

    auto on = [this](QAction *action, std::function<void()> fn) {
        QObject::connect(action, &QAction::triggered, &FLife, [this, fn] { FContext.Busy.Run(fn); });
    };
    on(acCompare, [this] { acCompareExecute(); });
    on(acNextDiff, [this] { NextDifference(false); });
    on(acPrevDiff, [this] { NextDifference(true); });
    on(acEndCompare, [this] { EndCompare(); });

    TVxHexcavator &ed = context.Editor;
    QObject::connect(ed.verticalScrollBar(), &QScrollBar::valueChanged, &FLife, [this] { Follow(); });
    FListen.Listen(ed.OnChangeUndo, [this](int32_t) {
        // Offsets after an edit no longer match the result: its marks go until it is redone.
        if (FShown) {
            FShown = nullptr;
            FContext.Editor.MarksChanged();
            FPane->Editor().MarksChanged();
            FStatus->setText(QStringLiteral("相違点 ? 個（F7 で再比較）"));
        }
    });
    UpdateCommands();
}

TCompareCommands::~TCompareCommands()
{
    // Both editors are the window's and outlive the marks.
    FContext.Editor.SetMarks(nullptr);
    FPane->Editor().SetMarks(nullptr);
}

void TCompareCommands::acCompareExecute()
{
    TfrmCompare dlg(&FContext.Window, TSettingsFile().LoadRecentFiles(), FModeChoice == TVxCompare::TMode::Aligned);
    if (dlg.exec() != QDialog::Accepted)
        return;
    Compare(dlg.FileName(), dlg.Aligned());
}

bool TCompareCommands::Compare(const QString &path, bool aligned)
{
    FModeChoice = aligned ? TVxCompare::TMode::Aligned : TVxCompare::TMode::Bytes;
    // The file is compared first and shown after: a compare that fails or is cancelled, at
    // either step, leaves the window as it was.
    std::optional<TVxDiffList> result;
    const bool ok = FContext.Busy.Run(
        [&] {
            TVxDocumentSource a(FContext.Editor);
            TVxFileSource b(path.toStdString());
            result = TVxCompare::Run(FModeChoice, a, b, Options());
            FPane->Open(path);
        },
        true, QStringLiteral("ファイルの比較"));
    if (!ok)
        return false;
    FMode = FModeChoice;
    FPath = path;
    FResult = std::move(result);
    ShowResult();
    return true;
}

TVxCompareOptions TCompareCommands::Options()
{
    TVxCompareOptions options;
    options.Progress = &FContext.Busy.Progress();
    return options;
}

bool TCompareCommands::Run()
{
    std::optional<TVxDiffList> result;
    const bool ok = FContext.Busy.Run(
        [&] {
            TVxDocumentSource a(FContext.Editor), b(FPane->Editor());
            result = TVxCompare::Run(FMode, a, b, Options());
        },
        true, QStringLiteral("ファイルの比較"));
    if (!ok)
        return false;
    FResult = std::move(result);
    ShowResult();
    return true;
}

void TCompareCommands::ShowResult()
{
    FShown = &*FResult;
    FContext.Editor.SetMarks(&FMarksA);
    FPane->Editor().SetMarks(&FMarksB);
    FStatus->setText(QStringLiteral("相違点 %1 個%2").arg(FResult->Count()).arg(FResult->Truncated() ? QStringLiteral("以上") : QString()));
    FStatus->show();
    FPane->SetTitle(QFileInfo(FPath).fileName());
    Follow();
    UpdateCommands();
}

void TCompareCommands::NextDifference(bool backward)
{
    if (!FPane->IsOpen())
        return;
    if (!FShown && !Run())
        return;
    const int32_t caret = FContext.Editor.GetCaretOffset();
    const ptrdiff_t i = backward ? FShown->LastBefore(caret) : FShown->FirstAtOrAfter(int64_t(caret) + 1);
    if (i < 0) {
        FContext.Busy.Message(QStringLiteral("これ以上相違点はありません。"), mbIconInformation);
        return;
    }
    const TVxDiffHunk &h = (*FShown)[size_t(i)];
    FContext.Editor.GotoOffset(int32_t(h.AStart));
    FPane->Editor().GotoOffset(int32_t(h.BStart));
    Follow();
}

void TCompareCommands::EndCompare()
{
    FShown = nullptr;
    FResult.reset();
    FContext.Editor.SetMarks(nullptr);
    FPane->Editor().SetMarks(nullptr);
    FPane->Close();
    FStatus->hide();
    UpdateCommands();
}

void TCompareCommands::Follow()
{
    if (!FPane->IsOpen())
        return;
    const int64_t top = int64_t(FContext.Editor.TopRow() - 1) * 16;
    FPane->Follow(FShown ? FShown->FacingB(top) : top);
}

QString TCompareCommands::StatusText() const { return FStatus->isHidden() ? QString() : FStatus->text(); }

void TCompareCommands::UpdateCommands()
{
    const bool open = FResult.has_value();
    acNextDiff->setEnabled(open);
    acPrevDiff->setEnabled(open);
    acEndCompare->setEnabled(open);
}
