#include "TfrmBitOperation.h"

#include "TUiServices.h"
#include "TUnitOrderFields.h"
#include "TVxMessageBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <stdexcept>

namespace {
using TOp = TVxBitOperation::TOp;
} // namespace

TVxBitOperation TfrmBitOperation::TChoice::Make() const
{
    uint64_t value = 0;
    if (TVxBitOperation::TakesValue(Op)) {
        const auto parsed = TUnitOrderFields::ParseHex(Value, Unit);
        if (!parsed)
            throw std::invalid_argument("value");
        value = *parsed;
    }
    return TVxBitOperation(Op, Unit, value, TVxBitOperation::TakesBits(Op) ? Bits : 0);
}

QString TfrmBitOperation::TChoice::Problem() const
{
    if (TVxBitOperation::TakesValue(Op) && !TUnitOrderFields::ParseHex(Value, Unit))
        return QStringLiteral("値は、単位に収まる16進数で指定してください。");
    if (TVxBitOperation::TakesBits(Op) && (Bits < 1 || Bits >= Unit.Bits()))
        return QStringLiteral("ビット数は 1 から %1 の範囲で指定してください。").arg(Unit.Bits() - 1);
    return QString();
}

TfrmBitOperation::TfrmBitOperation(QWidget *parent, const TChoice &initial) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ビット演算"));
    cmbOperation = new QComboBox(this);
    cmbOperation->setObjectName(QStringLiteral("cmbOperation"));
    const std::pair<TOp, const char *> ops[] = {
        {TOp::Xor, "XOR"},           {TOp::And, "AND"},           {TOp::Or, "OR"},
        {TOp::Not, "NOT"},           {TOp::ShiftLeft, "左シフト"}, {TOp::ShiftRight, "右シフト"},
        {TOp::RotateLeft, "左ローテート"}, {TOp::RotateRight, "右ローテート"}, {TOp::Add, "加算"},
        {TOp::Subtract, "減算"},
    };
    for (const auto &[op, name] : ops)
        cmbOperation->addItem(QString::fromUtf8(name), int(op));
    edtValue = new QLineEdit(initial.Value, this);
    edtValue->setObjectName(QStringLiteral("edtValue"));
    spnBits = new QSpinBox(this);
    spnBits->setObjectName(QStringLiteral("spnBits"));
    spnBits->setValue(initial.Bits);
    auto *opLabel = new QLabel(QStringLiteral("演算(&O):"), this);
    opLabel->setBuddy(cmbOperation);
    auto *valueLabel = new QLabel(QStringLiteral("値(&V):"), this);
    valueLabel->setBuddy(edtValue);
    auto *bitsLabel = new QLabel(QStringLiteral("ビット数(&N):"), this);
    bitsLabel->setBuddy(spnBits);

    auto *grid = new QGridLayout(this);
    grid->addWidget(opLabel, 0, 0);
    grid->addWidget(cmbOperation, 0, 1);
    grid->addWidget(valueLabel, 1, 0);
    grid->addWidget(edtValue, 1, 1);
    grid->addWidget(bitsLabel, 2, 0);
    grid->addWidget(spnBits, 2, 1);
    Unit = std::make_unique<TUnitOrderFields>(this, grid, 3, initial.Unit);
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);

    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    btnOk->setDefault(true);
    grid->addWidget(buttons, 5, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(cmbOperation, &QComboBox::currentIndexChanged, this, [this] { FollowChoice(); });
    connect(Unit->cmbUnit, &QComboBox::currentIndexChanged, this, [this] { FollowChoice(); });
    FollowChoice();
    edtValue->selectAll();
    edtValue->setFocus();
}

TfrmBitOperation::~TfrmBitOperation() = default;

void TfrmBitOperation::FollowChoice()
{
    const TOp op = TOp(cmbOperation->currentData().toInt());
    edtValue->setEnabled(TVxBitOperation::TakesValue(op));
    spnBits->setEnabled(TVxBitOperation::TakesBits(op));
    spnBits->setRange(1, Unit->Value().Bits() - 1);
}

TfrmBitOperation::TChoice TfrmBitOperation::Choice() const
{
    TChoice c;
    c.Op = TOp(cmbOperation->currentData().toInt());
    c.Value = edtValue->text();
    c.Bits = spnBits->value();
    c.Unit = Unit->Value();
    return c;
}

void TfrmBitOperation::accept()
{
    const QString problem = Choice().Problem();
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    TUiServices::Instance().MessageBox(this, problem, mbIconStop);
    edtValue->setFocus();
}
