#pragma once
// How the grid looks, as one value: the colours of every kind of cell, the caret's colour
// and the flags that hide parts of the grid or underline the current row. Editing state
// (read-only, insert mode, character code, column grouping) is not part of it.
//
// TVxHexcavator keeps one and applies a whole changed style with a single repaint
// (SetViewStyle); its per-colour properties read and write single fields of it. The
// painter reads its colours from here. The defaults are the control's own.

#include <QColor>

struct TVxViewStyle {
    QColor FontColor{0x00, 0x00, 0x00};  // text of ordinary cells
    QColor Color{0xFF, 0xFF, 0xFF};      // background of ordinary cells and spacers
    QColor AddressColor{0x00, 0x4E, 0x98};
    QColor AddressBGColor{0xFF, 0xFF, 0xFF};
    QColor CurrentLineColor{0x80, 0x00, 0x00};
    QColor CurrentLineBGColor{0xFF, 0xFF, 0xFF};
    QColor SelectColor{0x00, 0x00, 0x00};
    QColor SelectBGColor{0xCC, 0xEE, 0xFF};
    QColor UnderLineColor{0x00, 0x00, 0xFF};
    QColor CaretColor{0xFF, 0xFF, 0xFF};
    // Text of bytes changed since the last load or save, over the background their cell
    // would have anyway; selected bytes keep the selection's colours.
    QColor ChangedColor{0xC0, 0x00, 0xC0};
    // Background of marked bytes (the differences of a compare) on any row; the bar of a gap
    // is drawn in a darker shade of it.
    QColor MarkBGColor{0xFF, 0xD8, 0x90};
    bool HideOffsetHeader = false; // no header row, no address column
    bool HideByteView = false;     // no character column
    bool ViewUnderLine = false;    // underline the caret's row while nothing is selected

    bool operator==(const TVxViewStyle &o) const
    {
        return FontColor == o.FontColor && Color == o.Color && AddressColor == o.AddressColor &&
               AddressBGColor == o.AddressBGColor && CurrentLineColor == o.CurrentLineColor &&
               CurrentLineBGColor == o.CurrentLineBGColor && SelectColor == o.SelectColor &&
               SelectBGColor == o.SelectBGColor && UnderLineColor == o.UnderLineColor &&
               CaretColor == o.CaretColor && ChangedColor == o.ChangedColor && MarkBGColor == o.MarkBGColor &&
               HideOffsetHeader == o.HideOffsetHeader && HideByteView == o.HideByteView &&
               ViewUnderLine == o.ViewUnderLine;
    }
    bool operator!=(const TVxViewStyle &o) const { return !(*this == o); }
    // Whether going from this style to `o` changes the grid's layout (column widths, rows).
    bool LayoutDiffers(const TVxViewStyle &o) const
    {
        return HideOffsetHeader != o.HideOffsetHeader || HideByteView != o.HideByteView;
    }
};
