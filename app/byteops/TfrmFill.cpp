#include "TfrmFill.h"

#include "TUiServices.h"
#include "TUnitOrderFields.h"
#include "TVxHexText.h"
#include "TVxMessageBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <stdexcept>

TVxFill TfrmFill::TChoice::Make() const
{
    switch (Kind) {
    case TVxFill::TKind::Pattern: {
        const std::optional<std::string> bytes = TVxHexText::Parse(Pattern.toStdString());
        if (!bytes || bytes->empty())
            throw std::invalid_argument("pattern");
        return TVxFill::Pattern(*bytes);
    }
    case TVxFill::TKind::Random:
        return TVxFill::Random();
    case TVxFill::TKind::Sequence:
        break;
    }
    const auto start = TUnitOrderFields::ParseHex(Start, Unit), step = TUnitOrderFields::ParseHex(Step, Unit);
    if (!start || !step)
        throw std::invalid_argument("sequence");
    return TVxFill::Sequence(*start, *step, Unit);
}

QString TfrmFill::TChoice::Problem() const
{
    if (Kind == TVxFill::TKind::Pattern) {
        const std::optional<std::string> bytes = TVxHexText::Parse(Pattern.toStdString());
        if (!bytes)
            return QString::fromUtf8(TVxHexText::kInvalid);
        if (bytes->empty())
            return QStringLiteral("埋めるバイトを16進数で指定してください。");
    }
    if (Kind == TVxFill::TKind::Sequence &&
        (!TUnitOrderFields::ParseHex(Start, Unit) || !TUnitOrderFields::ParseHex(Step, Unit)))
        return QStringLiteral("開始値と増分は、単位に収まる16進数で指定してください。");
    return QString();
}

TfrmFill::TfrmFill(QWidget *parent, const TChoice &initial) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("選択範囲を埋める"));
    rbPattern = new QRadioButton(QStringLiteral("パターン(&P):"), this);
    edtPattern = new QLineEdit(initial.Pattern, this);
    edtPattern->setObjectName(QStringLiteral("edtPattern"));
    edtPattern->setPlaceholderText(QStringLiteral("例: 00 FF"));
    rbRandom = new QRadioButton(QStringLiteral("乱数(&R)"), this);
    rbSequence = new QRadioButton(QStringLiteral("連番(&S)"), this);
    edtStart = new QLineEdit(initial.Start, this);
    edtStep = new QLineEdit(initial.Step, this);
    auto *startLabel = new QLabel(QStringLiteral("開始値(&T):"), this);
    startLabel->setBuddy(edtStart);
    auto *stepLabel = new QLabel(QStringLiteral("増分(&I):"), this);
    stepLabel->setBuddy(edtStep);

    auto *grid = new QGridLayout(this);
    grid->addWidget(rbPattern, 0, 0);
    grid->addWidget(edtPattern, 0, 1);
    grid->addWidget(rbRandom, 1, 0, 1, 2);
    grid->addWidget(rbSequence, 2, 0, 1, 2);
    grid->addWidget(startLabel, 3, 0);
    grid->addWidget(edtStart, 3, 1);
    grid->addWidget(stepLabel, 4, 0);
    grid->addWidget(edtStep, 4, 1);
    Unit = std::make_unique<TUnitOrderFields>(this, grid, 5, initial.Unit);
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QLatin1Char('0')) * 32);

    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    btnOk->setDefault(true);
    grid->addWidget(buttons, 7, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The pattern is what the user comes for, whatever was chosen the last time: it opens
    // chosen, with the focus.
    rbPattern->setChecked(true);
    for (QRadioButton *rb : {rbPattern, rbRandom, rbSequence})
        connect(rb, &QRadioButton::toggled, this, [this] { FollowKind(); });
    FollowKind();
    edtPattern->selectAll();
    edtPattern->setFocus();
}

TfrmFill::~TfrmFill() = default;

void TfrmFill::FollowKind()
{
    const bool sequence = rbSequence->isChecked();
    edtPattern->setEnabled(rbPattern->isChecked());
    edtStart->setEnabled(sequence);
    edtStep->setEnabled(sequence);
    Unit->SetEnabled(sequence);
}

TfrmFill::TChoice TfrmFill::Choice() const
{
    TChoice c;
    c.Kind = rbRandom->isChecked()     ? TVxFill::TKind::Random
             : rbSequence->isChecked() ? TVxFill::TKind::Sequence
                                       : TVxFill::TKind::Pattern;
    c.Pattern = edtPattern->text();
    c.Start = edtStart->text();
    c.Step = edtStep->text();
    c.Unit = Unit->Value();
    return c;
}

void TfrmFill::accept()
{
    const QString problem = Choice().Problem();
    if (problem.isEmpty()) {
        QDialog::accept();
        return;
    }
    TUiServices::Instance().MessageBox(this, problem, mbIconStop);
    (rbPattern->isChecked() ? edtPattern : edtStart)->setFocus();
}
