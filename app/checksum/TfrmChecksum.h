#pragma once
// The dialog "チェックサム": the range it covers ("範囲: 00000000 - 0000FFFF (65536 バイト)"), the
// algorithms as a list of check boxes, the results as rows "NAME: value" whose values are
// read-only line edits (each can be selected and copied alone), "コピー(&C)" (every row, one
// "NAME: value" a line, to the clipboard) and "閉じる".
//
// It computes as it opens and again whenever a check changes, through the caller's function:
// that runs the work (with progress and Esc in the busy state) and gives the values, or
// nothing when the work failed or was cancelled; then no result is shown and コピー is disabled.
// While it computes the dialog is disabled, so no check can change in the middle.
//
// Who calls: the checksum commands (ツール > チェックサム).

#include "TVxChecksumSet.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

class TfrmChecksum : public QDialog {
    Q_OBJECT
public:
    using TResults = std::optional<std::vector<TVxChecksumResult>>;
    using TCompute = std::function<TResults(const std::vector<TVxChecksum> &kinds)>;
    using TChosen = std::function<void(const std::vector<TVxChecksum> &kinds)>;

    // `checked`: the kinds checked at first; `chosen` hears every change of the checks
    // (before the new computation).
    TfrmChecksum(QWidget *parent, const QString &range, const std::vector<TVxChecksum> &checked, TCompute compute,
                 TChosen chosen);

    std::vector<TVxChecksum> Checked() const;
    // The rows shown, one "NAME: value" a line ("" when none).
    QString ResultText() const;
    // The value line edits of the rows shown, in order.
    std::vector<QLineEdit *> ValueEdits() const { return FValues; }

    QLabel *lblRange;
    QListWidget *lstAlgorithms;
    QPushButton *btnCopy;
    QPushButton *btnClose;

private:
    void Compute();
    void ShowResults(const std::vector<TVxChecksumResult> &results);

    TCompute FCompute;
    TChosen FChosen;
    QWidget *FRows;
    QVBoxLayout *FRowsLayout;
    std::vector<QLineEdit *> FValues;
    std::vector<TVxChecksumResult> FShown;
};
