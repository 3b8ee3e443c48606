#include "TfrmReplace.h"

#include "TAppUtils.h"
#include "TBusyState.h"
#include "TDialogSupport.h"
#include "TSettingsFile.h"
#include "TVxMessageBox.h"
#include "TVxEditorSearch.h"
#include "TVxHexcavator.h"

#include <QAction>
#include <QApplication>
#include <QWindow>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace {
// Disables the dialog and makes the program busy for one operation, and undoes both even
// when the operation throws.
class TDialogBusy {
public:
    TDialogBusy(QWidget &dialog, TBusyState &busy, const QString &caption) : FDialog(dialog), FBusy(busy)
    {
        FDialog.setEnabled(false);
        FBusy.Begin();
        FBusy.SetCaption(caption);
    }
    ~TDialogBusy()
    {
        FBusy.End();
        FDialog.setEnabled(!FBusy.Window() || FBusy.Window()->isEnabled());
    }

private:
    QWidget &FDialog;
    TBusyState &FBusy;
};
} // namespace

TfrmReplace::TfrmReplace(QWidget &main, TBusyState &busy, TVxHexcavator &editor, TVxEditorSearch &search)
    : QDialog(&main, Qt::Tool | Qt::WindowStaysOnTopHint), FMain(main), FBusy(busy), FEditor(editor), FSearch(search)
{
    setObjectName(QStringLiteral("frmReplace"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("置換"));
    setFont(TAppUtils::DialogFont());
    setFixedSize(387, 197);
    move(300, 219);

    Label1 = new QLabel(QStringLiteral("検索する文字列："), this);
    Label1->move(16, 16);
    Label1->adjustSize(); // the designed width clips the text in some fonts
    Label2 = new QLabel(QStringLiteral("置換後の文字列："), this);
    Label2->move(16, 64);
    Label2->adjustSize(); // the designed width clips the text in some fonts
    cmbFindText = TDialogSupport::HistoryCombo(this, 16, 32, 257, 20);
    cmbReplaceText = TDialogSupport::HistoryCombo(this, 16, 80, 257, 20);
    chkIgnoreCase = new QCheckBox(QStringLiteral("大文字小文字を区別しない(&I)"), this);
    chkIgnoreCase->setGeometry(20, 116, 250, 17);
    chkHex = TDialogSupport::HexBox(this, chkIgnoreCase, 20, 140);
    btnFind = new QPushButton(QStringLiteral("検索(&F)"), this);
    btnFind->setGeometry(288, 12, 89, 24);
    btnReplace = new QPushButton(QStringLiteral("置換(&R)"), this);
    btnReplace->setGeometry(288, 42, 89, 24);
    btnReplace->setDefault(true);
    btnReplaceAll = new QPushButton(QStringLiteral("全て置換(&A)"), this);
    btnReplaceAll->setGeometry(288, 74, 89, 24);
    btnCancel = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    btnCancel->setGeometry(288, 126, 89, 24);

    QWidget *order[] = {cmbFindText, cmbReplaceText, chkIgnoreCase, chkHex, btnFind, btnReplace, btnReplaceAll, btnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(btnFind, &QPushButton::clicked, this, [this] {
        if (DoFind(true) == -1)
            FBusy.Message(cmbFindText->currentText() + QStringLiteral(" は見つかりませんでした。"),
                                      mbIconInformation);
    });
    connect(btnReplace, &QPushButton::clicked, this, [this] { DoReplace(false); });
    connect(btnReplaceAll, &QPushButton::clicked, this, [this] { DoReplace(true); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::close);
    // Escape closes (and so destroys) the dialog rather than merely hiding it.
    connect(this, &QDialog::rejected, this, &QDialog::close);

    // Follows the window that has the keyboard: a tool window shares its main window's
    // activation in Qt, so its own activation events do not tell when the user went back.
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow *w) { TakeShortcuts(w && w == windowHandle()); });

    TAppUtils::CenterOnMainForm(this, &main);
    LoadHistory();
}

TfrmReplace::~TfrmReplace() { TakeShortcuts(false); }

void TfrmReplace::LoadHistory()
{
    const TSettingsFile settings;
    FFindHistory = settings.LoadHistory(TSettingsFile::THistory::Find);
    FReplaceHistory = settings.LoadHistory(TSettingsFile::THistory::Replace);
    TDialogSupport::ShowHistory(cmbFindText, FFindHistory);
    TDialogSupport::ShowHistory(cmbReplaceText, FReplaceHistory);
}

void TfrmReplace::SaveHistory()
{
    const TSettingsFile settings;
    settings.SaveHistory(TSettingsFile::THistory::Find, FFindHistory);
    settings.SaveHistory(TSettingsFile::THistory::Replace, FReplaceHistory);
}

int32_t TfrmReplace::DoFind(bool select)
{
    TDialogBusy busy(*this, FBusy, QStringLiteral("検索しています"));
    const QString text = cmbFindText->currentText();
    if (text.isEmpty())
        return -2;
    const bool hex = chkHex->isChecked();
    if (hex && !TDialogSupport::AcceptHex(text, false, FBusy))
        return -2;
    FFindHistory.Add(text.toStdString(), false);
    TDialogSupport::ShowHistory(cmbFindText, FFindHistory);
    const std::string typed = text.toStdString();
    FSearch.SetSearchText(typed, chkIgnoreCase->isChecked(), hex);
    return FSearch.Find(typed, chkIgnoreCase->isChecked(), false, false, select, hex);
}

int32_t TfrmReplace::DoReplace(bool all)
{
    TVxHexcavator &ed = FEditor;
    if (ed.ReadOnlyMode()) {
        // The command is disabled in read-only mode; an open dialog must not get round that.
        FBusy.Message(QStringLiteral("書き換え禁止モードのため置換できません。"), mbIconStop);
        return 0;
    }
    int32_t n = 0;
    {
        TDialogBusy busy(*this, FBusy, all ? QStringLiteral("すべて置換しています") : QStringLiteral("置換しています"));
        const QString findText = cmbFindText->currentText();
        const QString replaceText = cmbReplaceText->currentText();
        const int32_t start = all ? 0 : ed.GetCaretOffset();
        const bool hex = chkHex->isChecked();
        if (hex && !(TDialogSupport::AcceptHex(findText, false, FBusy) && TDialogSupport::AcceptHex(replaceText, true, FBusy)))
            return 0;
        FFindHistory.Add(findText.toStdString(), false);
        FReplaceHistory.Add(replaceText.toStdString(), true);
        TDialogSupport::ShowHistory(cmbFindText, FFindHistory);
        TDialogSupport::ShowHistory(cmbReplaceText, FReplaceHistory);
        const std::string typed = findText.toStdString();
        FSearch.SetSearchText(typed, chkIgnoreCase->isChecked(), hex);
        try {
            n = FSearch.Replace(start, typed, replaceText.toStdString(), all, hex);
        } catch (...) {
            SaveHistory();
            throw;
        }
        if (n == 0) {
            FBusy.Message(findText + QStringLiteral(" は見つかりませんでした。"), mbIconInformation);
        } else if (all) {
            hide();
            FBusy.Message(QString::number(n) + QStringLiteral(" 個の文字列を変換しました。"),
                                      mbIconInformation);
        }
        SaveHistory();
    }
    setEnabled(true);
    return n;
}

void TfrmReplace::TakeShortcuts(bool take)
{
    if (take && FTaken.isEmpty()) {
        for (const char *name : {"acOffsetJump", "acUndo", "acRedo", "acDelete", "acCopy", "acCut", "acPaste"}) {
            QAction *action = FMain.findChild<QAction *>(QString::fromLatin1(name));
            if (!action)
                continue;
            FTaken.append({action, action->shortcuts()});
            action->setShortcuts({});
        }
    } else if (!take) {
        for (const auto &t : FTaken)
            if (t.first) // the main window may be going away with its actions
                t.first->setShortcuts(t.second);
        FTaken.clear();
    }
}

