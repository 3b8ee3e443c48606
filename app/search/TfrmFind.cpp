#include "TfrmFind.h"

#include "TAppUtils.h"
#include "TBusyState.h"
#include "TDialogSupport.h"
#include "TSettingsFile.h"
#include "TVxMessageBox.h"
#include "TVxEditorSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

TfrmFind::TfrmFind(QWidget *mainWindow, TBusyState &busy, TVxEditorSearch &search)
    : QDialog(mainWindow), FBusy(busy), FSearch(search)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("検索"));
    setFont(TAppUtils::DialogFont());
    setFixedSize(388, 169);

    Label1 = new QLabel(QStringLiteral("検索する文字列："), this);
    Label1->move(16, 16);
    Label1->adjustSize(); // the designed width clips the text in some fonts
    cmbFindText = TDialogSupport::HistoryCombo(this, 16, 32, 257, 20);
    chkIgnoreCase = new QCheckBox(QStringLiteral("大文字小文字を区別しない(&I)"), this);
    chkIgnoreCase->setGeometry(20, 64, 250, 17);
    chkFromTop = new QCheckBox(QStringLiteral("ファイルの先頭（最後）から検索する(&T)"), this);
    chkFromTop->setGeometry(20, 88, 250, 17);
    chkHex = TDialogSupport::HexBox(this, chkIgnoreCase, 20, 112);
    Button3 = new QPushButton(QStringLiteral("前を検索(&U)"), this);
    Button3->setGeometry(288, 12, 89, 24);
    Button1 = new QPushButton(QStringLiteral("次を検索(&D)"), this);
    Button1->setGeometry(288, 42, 89, 24);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    Button2->setGeometry(288, 86, 89, 24);
    Label1->setBuddy(cmbFindText);

    setTabOrder(cmbFindText, chkIgnoreCase);
    setTabOrder(chkIgnoreCase, chkFromTop);
    setTabOrder(chkFromTop, chkHex);
    setTabOrder(chkHex, Button3);
    setTabOrder(Button3, Button1);
    setTabOrder(Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(false); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button1Click(true); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    TAppUtils::CenterOnMainForm(this, mainWindow);
    LoadHistory();
    cmbFindText->setFocus();
}

void TfrmFind::LoadHistory()
{
    const TSettingsFile settings;
    chkFromTop->setChecked(settings.LoadFindFromTop());
    FHistory = settings.LoadHistory(TSettingsFile::THistory::Find);
    TDialogSupport::ShowHistory(cmbFindText, FHistory);
}

void TfrmFind::SaveHistory()
{
    const TSettingsFile settings;
    settings.SaveFindFromTop(chkFromTop->isChecked());
    settings.SaveHistory(TSettingsFile::THistory::Find, FHistory);
}

void TfrmFind::Button1Click(bool backward)
{
    TBusy busy(FBusy, QStringLiteral("検索しています"));
    const QString text = cmbFindText->currentText();
    if (text.isEmpty())
        return; // the dialog stays open
    const bool hex = chkHex->isChecked();
    if (hex && !TDialogSupport::AcceptHex(text, false, FBusy))
        return; // open, to be put right
    FHistory.Add(text.toStdString(), false);
    TDialogSupport::ShowHistory(cmbFindText, FHistory);
    const std::string typed = text.toStdString();
    const bool ignoreCase = chkIgnoreCase->isChecked();
    FSearch.SetSearchText(typed, ignoreCase, hex);
    const int32_t found = FSearch.Find(typed, ignoreCase, backward, chkFromTop->isChecked(), true, hex);
    hide();
    if (found < 0)
        FBusy.Message(text + QStringLiteral(" は見つかりませんでした。"), mbIconInformation);
    SaveHistory();
    accept();
}
