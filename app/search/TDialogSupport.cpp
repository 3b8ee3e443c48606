#include "TDialogSupport.h"

#include "TBusyState.h"
#include "TVxMessageBox.h"
#include "TVxHexText.h"
#include "TVxHistoryList.h"

#include <QCheckBox>
#include <QComboBox>

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

QCheckBox *TDialogSupport::HexBox(QWidget *parent, QCheckBox *ignoreCase, int left, int top)
{
    auto *box = new QCheckBox(QStringLiteral("16進数で指定する(&X)"), parent);
    box->setObjectName(QStringLiteral("chkHex"));
    box->setGeometry(left, top, 250, 17);
    QObject::connect(box, &QCheckBox::toggled, ignoreCase, [ignoreCase](bool hex) { ignoreCase->setEnabled(!hex); });
    return box;
}

bool TDialogSupport::AcceptHex(const QString &text, bool mayBeEmpty, TBusyState &busy)
{
    const auto bytes = TVxHexText::Parse(text.toStdString());
    if (bytes && (mayBeEmpty || !bytes->empty()))
        return true;
    busy.Message(QString::fromUtf8(TVxHexText::kInvalid), mbIconStop);
    return false;
}
