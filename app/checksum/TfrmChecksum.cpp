#include "TfrmChecksum.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TfrmChecksum::TfrmChecksum(QWidget *parent, const QString &range, const std::vector<TVxChecksum> &checked,
                           TCompute compute, TChosen chosen)
    : QDialog(parent), FCompute(std::move(compute)), FChosen(std::move(chosen))
{
    setWindowTitle(QStringLiteral("チェックサム"));
    lblRange = new QLabel(range, this);
    lstAlgorithms = new QListWidget(this);
    lstAlgorithms->setObjectName(QStringLiteral("lstAlgorithms"));
    for (TVxChecksum k : TVxChecksumKinds::All()) {
        auto *item = new QListWidgetItem(QString::fromStdString(TVxChecksumKinds::Name(k)), lstAlgorithms);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        const bool on = std::find(checked.begin(), checked.end(), k) != checked.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    lstAlgorithms->setMaximumWidth(lstAlgorithms->sizeHintForColumn(0) + 40);
    lstAlgorithms->setMinimumHeight(lstAlgorithms->sizeHintForRow(0) * TVxChecksumKinds::kCount + 8);

    FRows = new QWidget(this);
    FRowsLayout = new QVBoxLayout(FRows);
    FRowsLayout->setContentsMargins(0, 0, 0, 0);
    FRowsLayout->addStretch();
    // A SHA-256 value whole in its box beside its name; SHA-512's scrolls in its own (a
    // dialog twice as wide would not fit smaller screens).
    FRows->setMinimumWidth(QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance(QString(92, QLatin1Char('0'))));

    auto *buttons = new QDialogButtonBox(this);
    btnCopy = buttons->addButton(QStringLiteral("コピー(&C)"), QDialogButtonBox::ActionRole);
    btnClose = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    btnCopy->setAutoDefault(false);
    btnClose->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblRange, 0, 0, 1, 2);
    grid->addWidget(lstAlgorithms, 1, 0);
    grid->addWidget(FRows, 1, 1);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnCopy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(ResultText()); });
    connect(lstAlgorithms, &QListWidget::itemChanged, this, [this] {
        if (FChosen)
            FChosen(Checked());
        Compute();
    });
    Compute();
}

std::vector<TVxChecksum> TfrmChecksum::Checked() const
{
    std::vector<TVxChecksum> kinds;
    for (int i = 0; i < lstAlgorithms->count(); ++i)
        if (lstAlgorithms->item(i)->checkState() == Qt::Checked)
            kinds.push_back(TVxChecksum(i));
    return kinds;
}

QString TfrmChecksum::ResultText() const
{
    QString text;
    for (const TVxChecksumResult &r : FShown)
        text += QString::fromStdString(TVxChecksumKinds::Name(r.Kind) + ": " + r.Value) + QLatin1Char('\n');
    return text;
}

void TfrmChecksum::Compute()
{
    // What was shown goes first: a cancelled computation leaves no stale value behind.
    ShowResults({});
    const std::vector<TVxChecksum> kinds = Checked();
    if (kinds.empty())
        return;
    setEnabled(false);
    const TResults results = FCompute(kinds);
    setEnabled(true);
    if (results)
        ShowResults(*results);
}

void TfrmChecksum::ShowResults(const std::vector<TVxChecksumResult> &results)
{
    for (QLineEdit *e : FValues)
        delete e->parentWidget();
    FValues.clear();
    FShown = results;
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const TVxChecksumResult &r : results) {
        auto *row = new QWidget(FRows);
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto *name = new QLabel(QString::fromStdString(TVxChecksumKinds::Name(r.Kind) + ":"), row);
        name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QStringLiteral("CRC-16/CCITT-FALSE: ")));
        auto *value = new QLineEdit(QString::fromStdString(r.Value), row);
        value->setReadOnly(true);
        value->setFont(fixed);
        value->setCursorPosition(0);
        layout->addWidget(name);
        layout->addWidget(value, 1);
        FRowsLayout->insertWidget(FRowsLayout->count() - 1, row);
        FValues.push_back(value);
    }
    btnCopy->setEnabled(!results.empty());
}
