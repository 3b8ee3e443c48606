#pragma once
// The dialog of the Intel HEX and S-record exports: 開始アドレス (hexadecimal, the address
// the range's first byte gets; 0 by default), the data bytes a record (16 or 32), and, for
// S-records, whether a count record (S5/S6) is written. OK refuses, with a message, an
// address that is not hexadecimal or above FFFFFFFF; the dialog stays open then. Modal; the
// caller reads Choice() after exec().
//
// Who calls: the export commands.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TfrmExport : public QDialog {
    Q_OBJECT
public:
    struct TChoice {
        QString Start = QStringLiteral("0");
        int RecordBytes = 16;
        bool CountRecord = true;
        // The start address, or nothing when Start is no hexadecimal number up to FFFFFFFF.
        std::optional<uint32_t> StartAddress() const;
    };

    // `sRecords`: the count record's box is offered.
    TfrmExport(QWidget *parent, const QString &title, bool sRecords, const TChoice &initial);
    TChoice Choice() const;
    void accept() override;

    QLineEdit *edtStart;
    QComboBox *cbRecordBytes;
    QCheckBox *chkCountRecord;
    QPushButton *btnOk, *btnCancel;
};
