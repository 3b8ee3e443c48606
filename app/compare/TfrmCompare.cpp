#include "TfrmCompare.h"

#include "TUiServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmCompare::TfrmCompare(QWidget *parent, const std::vector<std::string> &recentFiles, bool aligned) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ファイルの比較"));
    auto *label = new QLabel(QStringLiteral("比較するファイル(&F):"), this);
    cmbFileName = new QComboBox(this);
    cmbFileName->setObjectName(QStringLiteral("cmbFileName"));
    cmbFileName->setEditable(true);
    cmbFileName->setInsertPolicy(QComboBox::NoInsert);
    cmbFileName->setMinimumContentsLength(48);
    cmbFileName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const std::string &f : recentFiles)
        cmbFileName->addItem(QString::fromStdString(f));
    cmbFileName->setCurrentIndex(-1);
    cmbFileName->setEditText(QString());
    label->setBuddy(cmbFileName);
    btnBrowse = new QPushButton(QStringLiteral("参照(&B)..."), this);
    btnBrowse->setAutoDefault(false);
    chkAligned = new QCheckBox(QStringLiteral("挿入・削除を考慮する(&I)"), this);
    chkAligned->setChecked(aligned);

    auto *buttons = new QDialogButtonBox(this);
    btnOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnCancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    btnOk->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(cmbFileName, 1, 0);
    grid->addWidget(btnBrowse, 1, 1);
    grid->addWidget(chkAligned, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto follow = [this] { btnOk->setEnabled(!FileName().trimmed().isEmpty()); };
    connect(cmbFileName, &QComboBox::editTextChanged, this, follow);
    follow();
    connect(btnBrowse, &QPushButton::clicked, this, [this] {
        const QString picked = TUiServices::Instance().AskOpenFileName(this, FileName());
        if (!picked.isEmpty())
            cmbFileName->setEditText(picked);
        cmbFileName->setFocus();
    });
    cmbFileName->setFocus();
}

QString TfrmCompare::FileName() const { return cmbFileName->currentText(); }

bool TfrmCompare::Aligned() const { return chkAligned->isChecked(); }
