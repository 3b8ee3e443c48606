#pragma once
// The byte values panel's table, painted by itself: a header row ("リトルエンディアン",
// "ビッグエンディアン"), then one row per value of TByteValues with its caption;
// values without a byte order span both columns. The value columns fit the widest number
// in the table's font; a longer text (a character's description) is clipped and shown whole
// as the cell's tooltip.
//
// Why not a QTableWidget: the panel follows every caret move, and an item view repaints its
// cells through the style and a fresh text layout each, which costs more than the rest of a
// caret step. Here each cell keeps its laid-out text (QStaticText) and SetValues repaints
// only the cells whose text changed.
//
// Who calls: TByteValuesPanel, which owns one and hands it each new set of values.

#include "TByteValues.h"

#include <QStaticText>
#include <QWidget>

class TByteValuesTable : public QWidget {
public:
    explicit TByteValuesTable(QWidget *parent = nullptr);

    void SetValues(const TByteValues &values);
    const QString &CellText(TByteValues::TRow row, TByteValues::TOrder order) const
    {
        return FTexts[row][order];
    }

    // Whether the cell shows its whole text.
    bool Fits(TByteValues::TRow row, TByteValues::TOrder order) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void Measure();
    // Row -1 is the header, column -1 the captions; a row without byte order spans 0 and 1.
    QRect CellRect(int row, int col) const;

    QString FTexts[TByteValues::kRowCount][2];
    QStaticText FStatic[TByteValues::kRowCount][2];
    QStaticText FCaptions[TByteValues::kRowCount];
    QStaticText FHeaders[2];
    int FRowHeight = 0, FCaptionWidth = 0, FValueWidth = 0, FPad = 0;
};
