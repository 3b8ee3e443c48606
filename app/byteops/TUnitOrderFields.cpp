#include "TUnitOrderFields.h"

#include "TStrToInt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

TUnitOrderFields::TUnitOrderFields(QWidget *parent, QGridLayout *grid, int row, TVxUnitOrder value)
{
    cmbUnit = new QComboBox(parent);
    cmbUnit->setObjectName(QStringLiteral("cmbUnit"));
    for (int unit : {1, 2, 4, 8})
        cmbUnit->addItem(QStringLiteral("%1 バイト").arg(unit), unit);
    cmbUnit->setCurrentIndex(cmbUnit->findData(value.Unit));
    cmbOrder = new QComboBox(parent);
    cmbOrder->setObjectName(QStringLiteral("cmbOrder"));
    cmbOrder->addItem(QStringLiteral("リトルエンディアン"));
    cmbOrder->addItem(QStringLiteral("ビッグエンディアン"));
    cmbOrder->setCurrentIndex(value.BigEndian ? 1 : 0);
    auto *unitLabel = new QLabel(QStringLiteral("単位(&U):"), parent);
    unitLabel->setBuddy(cmbUnit);
    auto *orderLabel = new QLabel(QStringLiteral("バイト順(&E):"), parent);
    orderLabel->setBuddy(cmbOrder);
    grid->addWidget(unitLabel, row, 0);
    grid->addWidget(cmbUnit, row, 1);
    grid->addWidget(orderLabel, row + 1, 0);
    grid->addWidget(cmbOrder, row + 1, 1);
}

TVxUnitOrder TUnitOrderFields::Value() const
{
    return TVxUnitOrder{cmbUnit->currentData().toInt(), cmbOrder->currentIndex() == 1};
}

void TUnitOrderFields::SetEnabled(bool enabled)
{
    cmbUnit->setEnabled(enabled);
    cmbOrder->setEnabled(enabled);
}

std::optional<uint64_t> TUnitOrderFields::ParseHex(const QString &text, const TVxUnitOrder &unit)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (QChar c : digits) {
        const int d = c.unicode() < 128 ? TStrToInt::HexDigit(char(c.unicode())) : -1;
        if (d < 0)
            return std::nullopt;
        value = value << 4 | uint64_t(d);
    }
    if ((value & ~unit.Mask()) != 0)
        return std::nullopt;
    return value;
}
