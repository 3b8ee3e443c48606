#include "TfrmPrinting.h"

#include "TAppUtils.h"
#include "TBusyState.h"
#include "TVxMessageBox.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

TfrmPrinting::TfrmPrinting(TBusyState &busy, const QString &fileName) : QDialog(nullptr), FBusy(busy)
{
    QWidget *mainWindow = busy.Window();
    setObjectName(QStringLiteral("frmPrinting"));
    setWindowTitle(QStringLiteral("印刷中"));
    setFont(TAppUtils::DialogFont());
    setFixedSize(400, 109);
    move(392, 144);

    Label1 = new QLabel(QStringLiteral("印刷中です..."), this);
    Label1->setGeometry(8, 16, 385, 12);
    Label1->setAlignment(Qt::AlignCenter);
    lblPageNo = new QLabel(this);
    lblPageNo->setGeometry(8, 40, 385, 12);
    lblPageNo->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button1->setGeometry(155, 70, 89, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    // FormCreate.
    if (mainWindow) {
        TAppUtils::CenterOnMainForm(this, mainWindow);
        // Kept above the (disabled) main window by the window manager.
        winId();
        if (windowHandle() && mainWindow->windowHandle())
            windowHandle()->setTransientParent(mainWindow->windowHandle());
    }
    QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty())
        name = QStringLiteral("無題");
    Label1->setText(name + QStringLiteral(" を印刷中です..."));
}

void TfrmPrinting::ShowPage(int page) { lblPageNo->setText(QStringLiteral("%1 ページ").arg(page)); }

void TfrmPrinting::Button1Click()
{
    Button1->setEnabled(false);
    close();
}

void TfrmPrinting::closeEvent(QCloseEvent *e)
{
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

bool TfrmPrinting::FormCloseQuery()
{
    if (FBusy.Message(QStringLiteral("印刷を中断してよろしいですか？"), mbIconQuestion | mbYesNo) == idYes) {
        if (OnCancel)
            OnCancel();
        return true;
    }
    Button1->setEnabled(true);
    return false;
}
