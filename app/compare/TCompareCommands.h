#pragma once
// Comparing the document with another file (ツール > ファイルの比較): the other file opens
// read-only in a pane beside the document (TComparePane), the two scroll in step, the
// differences are painted on their own background in both (TCompareMarks) and counted in a
// panel of the status bar ("相違点 N 個"), and F7 / Shift+F7 move the document's caret to the next / previous one.
//
// Commands: "ファイルの比較(&C)..." (the dialog TfrmCompare; 挿入・削除を考慮する chooses the
// aligned compare, and is remembered for the next time), "次の相違点(&N)" (F7), "前の相違点(&P)"
// (Shift+F7) and "比較の終了(&E)", in the place "tools.compare".
//
// The compare runs in the busy state with progress, Esc cancelling it: a cancelled or failed
// compare leaves what was shown before. An edit of the document makes the result stale (its
// marks go, the count reads "?"); the next F7 or Shift+F7 compares again before it moves.
//
// Who calls: the main window creates it with its feature context.

#include "TCompareMarks.h"
#include "TFeatureContext.h"
#include "TVxCompare.h"
#include "TVxDiffList.h"
#include "TVxEvent.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class TComparePane;

class TCompareCommands {
public:
    explicit TCompareCommands(const TFeatureContext &context);
    ~TCompareCommands();

    QAction *acCompare, *acNextDiff, *acPrevDiff, *acEndCompare;

    // The current result; null while no compare is shown or after an edit made it stale.
    const TVxDiffList *Result() const { return FShown; }
    QString StatusText() const;
    TComparePane &Pane() const { return *FPane; }

    // Compares the document with the file at `path` and shows the result. False when it
    // failed (the busy state said why) or was cancelled.
    bool Compare(const QString &path, bool aligned);
    void NextDifference(bool backward);
    void EndCompare();

private:
    void acCompareExecute();
    // Compares the document with the pane's file again (after an edit); keeps the old result
    // on failure.
    bool Run();
    TVxCompareOptions Options();
    void ShowResult();
    void Follow();
    void UpdateCommands();

    TFeatureContext FContext;
    // The receiver of this feature's connections: they end with it, not with the window.
    QObject FLife;
    TVxListeners FListen;
    std::unique_ptr<TComparePane> FPane;
    std::optional<TVxDiffList> FResult;
    const TVxDiffList *FShown = nullptr; // FResult while it is up to date
    TCompareMarks FMarksA{FShown, TCompareMarks::TSide::A};
    TCompareMarks FMarksB{FShown, TCompareMarks::TSide::B};
    TVxCompare::TMode FMode = TVxCompare::TMode::Aligned;       // of the result shown
    TVxCompare::TMode FModeChoice = TVxCompare::TMode::Aligned; // the dialog's, kept for the next time
    QString FPath;
    QLabel *FStatus;
};
