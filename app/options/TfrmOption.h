#pragma once
// The options dialog "環境設定": modal, built for one use. Three pages (general, display font
// and colours, printing) and OK / キャンセル.
//
// The editor's own settings (font, the nine colours, double buffering, backups) are read
// from the editor when the dialog is created and written back to it by OK (Button4Click).
// The settings that live in the main window (read-only on open, keeping the undo history,
// the print settings) are filled in and taken back by TOptionCommands, which also writes
// the settings file. Cancel, Escape and the close box change nothing.
//
// Colours are kept in the dialog while it is open ("working colours") and reach the editor
// only on OK. The display-font preview always shows black on white: the editor's text colour
// is the one of the list's first item, never a colour picked in the font dialog.
//
// The font and colour dialogs (Font1, Color1) are opened through TUiServices, so tests can
// answer them.
//
// Who calls: the options command, which builds one per use and reads its fields back on OK.

#include <QColor>
#include <QDialog>
#include <cstdint>

class QCheckBox;
class QColorDialog;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TFixedPitchFontDialog;
class TBusyState;
class TVxHexcavator;

class TfrmOption : public QDialog {
    Q_OBJECT
public:
    // The rows of ListBox1, which index the working colours.
    enum TColorItem { ciNormal, ciSelect, ciCurrentLine, ciUnderLine, ciAddress, ciChanged, ciDifference, ciCount };

    // Centred over the busy state's window, which owns its messages.
    TfrmOption(TBusyState &busy, TVxHexcavator &editor);

    QTabWidget *PageControl1;
    QPushButton *Button4; // OK, the default button
    QPushButton *Button5; // キャンセル, also Escape
    TFixedPitchFontDialog *Font1;
    QColorDialog *Color1;

    // Page "全般"
    QCheckBox *chkReadOnly;
    QCheckBox *chkDoubleBuffered;
    QCheckBox *chkBackup;
    QSpinBox *edtBackupCount; // with its up-down (UpDown1): 1 to 999
    QCheckBox *chkFileSaveWithoutClearUndo;
    QCheckBox *chkUseShellExtention;

    // Page "表示フォント・色"
    QLabel *pnlFont; // the display font, black on white
    QPushButton *Button3;
    QListWidget *ListBox1;
    QPushButton *btnFontColor;
    QPushButton *btnBkColor;
    QLabel *pnlFontColor; // the selected item's text colour on its background

    // Page "印刷"
    QCheckBox *chkPrintFileName;
    QCheckBox *chkPrintPageNo;
    QSpinBox *edtTopMargin; // each margin with its up-down (udTopMargin ...): 0 to 999 mm
    QSpinBox *edtBottomMargin;
    QSpinBox *edtLeftMargin;
    QLabel *pnlPrintFont;
    QPushButton *Button1;
    // The print font's character set, carried through unchanged (Qt fonts have none).
    int32_t PrintFontCharset = 0;

    // The working colours: text and background of each item (the underline and the changed
    // bytes have no background of their own and are previewed on the normal one).
    QColor TextColor(TColorItem item) const { return FTextColors[item]; }
    QColor BackColor(TColorItem item) const { return FBackColors[item]; }

    void chkBackupClick();
    // Shows the selected item's colours and enables the colour buttons while one is selected.
    void ListBox1Click();
    void btnFontColorClick();
    void btnBkColorClick();
    void Button3Click();
    void Button1Click();
    // OK: gives the editor its settings and accepts.
    void Button4Click();

private:
    void BuildGeneralPage(QWidget *page);
    void BuildDisplayPage(QWidget *page);
    void BuildPrintPage(QWidget *page);
    void FormCreate(QWidget *mainWindow);
    // Font1 started from the preview's font; the preview takes the chosen one on OK.
    void ChangePreviewFont(QLabel *preview);
    // Color1 started from `color`; true (and `color` changed) on OK.
    bool AskColor(QColor &color);
    // The selected row of ListBox1, -1 for none.
    int SelectedItem() const;

    TBusyState &FBusy;
    TVxHexcavator &FEditor;
    QColor FTextColors[ciCount];
    QColor FBackColors[ciCount];
};
