#pragma once
// The two drop-down lists the fill and bit operation dialogs share: 単位 (1, 2, 4 or 8 bytes)
// and バイト順 (little or big endian), with their labels, and the reading of numbers typed in
// hexadecimal for a unit.
//
// Who calls: TfrmFill and TfrmBitOperation.

#include "TVxUnitOrder.h"

#include <QString>

#include <cstdint>
#include <optional>

class QComboBox;
class QGridLayout;
class QWidget;

class TUnitOrderFields {
public:
    // Adds the labelled lists to `grid` on rows `row` and `row + 1`.
    TUnitOrderFields(QWidget *parent, QGridLayout *grid, int row, TVxUnitOrder value);

    TVxUnitOrder Value() const;
    void SetEnabled(bool enabled);

    // 1 to 16 hexadecimal digits (blanks around them allowed) whose value fits `unit`.
    static std::optional<uint64_t> ParseHex(const QString &text, const TVxUnitOrder &unit);

    QComboBox *cmbUnit;
    QComboBox *cmbOrder;
};
