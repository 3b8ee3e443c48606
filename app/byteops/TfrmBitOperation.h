#pragma once
// The dialog "ビット演算": the operation (演算, a list that starts at XOR: XOR, AND, OR, NOT,
// shifts and rotations left and right, 加算, 減算), its value in hexadecimal (値, which has the
// focus when the dialog opens) or its number of bits (ビット数, for shifts and rotations),
// and the unit and byte order the bytes are read in. OK refuses, with a message, a value
// that is not hexadecimal or does not fit the unit; the dialog stays open then. Modal; the
// caller reads Choice() after exec().
//
// Who calls: the byte operation commands (ビット演算).

#include "TVxBitOperation.h"
#include "TVxUnitOrder.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TUnitOrderFields;

class TfrmBitOperation : public QDialog {
    Q_OBJECT
public:
    struct TChoice {
        TVxBitOperation::TOp Op = TVxBitOperation::TOp::Xor;
        QString Value = QStringLiteral("FF");
        int Bits = 1;
        TVxUnitOrder Unit;
        // The operation this choice describes; throws std::invalid_argument when the texts do
        // not make one (what Problem() explains).
        TVxBitOperation Make() const;
        QString Problem() const;
    };

    // The operation always starts at XOR; the value, bits and unit are those of `initial`.
    TfrmBitOperation(QWidget *parent, const TChoice &initial);
    ~TfrmBitOperation() override;
    TChoice Choice() const;
    void accept() override;

    QComboBox *cmbOperation;
    QLineEdit *edtValue;
    QSpinBox *spnBits;
    std::unique_ptr<TUnitOrderFields> Unit;
    QPushButton *btnOk, *btnCancel;

private:
    void FollowChoice();
};
