#pragma once
// Small pieces the find and replace dialogs share: the history combo boxes and the hex box.
// (Their font is TAppUtils::DialogFont, typed text becomes bytes through TCodePage.)
//
// Who calls: the find and replace dialogs.

#include <QString>

class QCheckBox;
class QComboBox;
class QWidget;
class TBusyState;
class TVxHistoryList;

class TDialogSupport {
public:
    // An editable drop-down list showing 16 lines, at the given place.
    static QComboBox *HistoryCombo(QWidget *parent, int left, int top, int width, int height);
    // Fills the list from the history and shows its first entry.
    static void ShowHistory(QComboBox *combo, const TVxHistoryList &history);
    // The box "16進数で指定する(&X)" at the given place. While it is checked the ignore-case
    // box is disabled: bytes typed as hex match exactly.
    static QCheckBox *HexBox(QWidget *parent, QCheckBox *ignoreCase, int left, int top);
    // Whether a typed text gives bytes by hex (TVxHexText), at least one unless `mayBeEmpty`
    // (a replacement by nothing). If not, the user hears why (stop icon) and nothing is
    // searched.
    static bool AcceptHex(const QString &text, bool mayBeEmpty, TBusyState &busy);
};
