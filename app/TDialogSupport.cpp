#include "TDialogSupport.h"

#include "TVxHistoryList.h"
#include "TVxTransfer.h"

#include <QComboBox>
#include <QFont>

QFont TDialogSupport::DialogFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    return f;
}

QComboBox *TDialogSupport::HistoryCombo(QWidget *parent, int left, int top, int width, int height)
{
    auto *c = new QComboBox(parent);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert); // the history decides what goes into the list
    c->setMaxVisibleItems(16);
    c->setGeometry(left, top, width, std::max(height, c->sizeHint().height()));
    return c;
}

void TDialogSupport::ShowHistory(QComboBox *combo, const TVxHistoryList &history)
{
    const QString typed = combo->currentText();
    combo->clear();
    for (const std::string &item : history.Items())
        combo->addItem(QString::fromStdString(item));
    if (combo->count() > 0)
        combo->setCurrentIndex(0);
    else
        combo->setEditText(typed);
}

std::string TDialogSupport::ToBytes(const QString &text) { return TVxTransfer::ToCodePage(text).toStdString(); }


