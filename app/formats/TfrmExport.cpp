#include "TfrmExport.h"

#include "TUiServices.h"
#include "TVxMessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

std::optional<uint32_t> TfrmExport::TChoice::StartAddress() const
{
    const QString text = Start.trimmed();
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    bool ok = false;
    const uint32_t value = text.toUInt(&ok, 16);
    // toUInt takes a "0x" prefix too, which does not fit in eight digits with every address.
    if (!ok || text.contains(QLatin1Char('x'), Qt::CaseInsensitive))
        return std::nullopt;
    return value;
}

TfrmExport::TfrmExport(QWidget *parent, const QString &title, bool sRecords, const TChoice &initial) : QDialog(parent)
{
    setWindowTitle(title);
    edtStart = new QLineEdit(initial.Start, this);
    edtStart->setObjectName(QStringLiteral("edtStart"));
    edtStart->setMaxLength(8);
    auto *startLabel = new QLabel(QStringLiteral("開始アドレス（16進数）(&A):"), this);
    startLabel->setBuddy(edtStart);
    cbRecordBytes = new QComboBox(this);
    cbRecordBytes->addItem(QStringLiteral("16"), 16);
    cbRecordBytes->addItem(QStringLiteral("32"), 32);
    cbRecordBytes->setCurrentIndex(initial.RecordBytes == 32 ? 1 : 0);
    auto *bytesLabel = new QLabel(QStringLiteral("1レコードのデータのバイト数(&B):"), this);
    bytesLabel->setBuddy(cbRecordBytes);
    chkCountRecord = new QCheckBox(QStringLiteral("レコード数のレコード（S5/S6）を書く(&C)"), this);
    chkCountRecord->setChecked(initial.CountRecord);
    chkCountRecord->setVisible(sRecords);

    auto *grid = new QGridLayout(this);
    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(edtStart, 0, 1);
    grid->addWidget(bytesLabel, 1, 0);
    grid->addWidget(cbRecordBytes, 1, 1);
    grid->addWidget(chkCountRecord, 2, 0, 1, 2);
    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    btnOk->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 2);
    edtStart->selectAll();
    edtStart->setFocus();
}

TfrmExport::TChoice TfrmExport::Choice() const
{
    TChoice c;
    c.Start = edtStart->text();
    c.RecordBytes = cbRecordBytes->currentData().toInt();
    c.CountRecord = chkCountRecord->isChecked();
    return c;
}

void TfrmExport::accept()
{
    if (!Choice().StartAddress()) {
        TUiServices::Instance().MessageBox(this, QStringLiteral("開始アドレスは 0 から FFFFFFFF までの16進数で指定してください。"),
                                           mbIconWarning);
        edtStart->setFocus();
        return;
    }
    QDialog::accept();
}
