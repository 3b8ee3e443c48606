#pragma once
// The dialog "選択範囲を埋める": what to fill the selection with. パターン(&P) takes bytes typed
// in hexadecimal as the find dialog does ("00 FF"), and its field has the focus when the
// dialog opens (the texts and unit of the last time are kept); 乱数(&R) random bytes; 連番(&S) an increasing sequence from 開始値 by 増分, in
// units of 1, 2, 4 or 8 bytes of either byte order. OK refuses, with a message, a pattern
// that is empty or not hexadecimal and numbers that do not fit the unit; the dialog stays
// open then. Modal; the caller reads Choice() after exec().
//
// Who calls: the byte operation commands (選択範囲を埋める).

#include "TVxFill.h"
#include "TVxUnitOrder.h"

#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TUnitOrderFields;

class TfrmFill : public QDialog {
    Q_OBJECT
public:
    struct TChoice {
        TVxFill::TKind Kind = TVxFill::TKind::Pattern;
        QString Pattern = QStringLiteral("00");
        QString Start = QStringLiteral("00");
        QString Step = QStringLiteral("01");
        TVxUnitOrder Unit;
        // The fill this choice describes; throws std::invalid_argument when the texts do not
        // make one (what Problem() explains).
        TVxFill Make() const;
        // Why the texts make no fill, in the user's words; empty when they do.
        QString Problem() const;
    };

    TfrmFill(QWidget *parent, const TChoice &initial);
    ~TfrmFill() override;
    TChoice Choice() const;
    void accept() override;

    QRadioButton *rbPattern, *rbRandom, *rbSequence;
    QLineEdit *edtPattern, *edtStart, *edtStep;
    std::unique_ptr<TUnitOrderFields> Unit;
    QPushButton *btnOk, *btnCancel;

private:
    void FollowKind();
};
