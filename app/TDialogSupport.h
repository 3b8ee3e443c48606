#pragma once
// Small pieces the find and replace dialogs share: their font, the history combo boxes, the
// CP932 conversion of what the user typed.

#include <QString>
#include <string>

class QComboBox;
class QFont;
class QWidget;
class TVxHistoryList;

class TDialogSupport {
public:
    // "ＭＳ Ｐゴシック", 12 pixels high.
    static QFont DialogFont();
    // An editable drop-down list showing 16 lines, at the given place.
    static QComboBox *HistoryCombo(QWidget *parent, int left, int top, int width, int height);
    // Fills the list from the history and shows its first entry.
    static void ShowHistory(QComboBox *combo, const TVxHistoryList &history);
    // The bytes of a typed text in the system code page.
    static std::string ToBytes(const QString &text);
};
