#pragma once
// The font dialog of the options dialog: a family, a style, a size in points, strike-out and
// underline, and a text colour, with a sample. It offers fixed-pitch families only, since the
// editor lays out its grid in character cells.
//
// Qt's own dialog cannot filter for that: QFontDialog::MonospacedFonts trusts the fixed-pitch
// flag of the font files, which Japanese monospace faces such as IPAGothic do not set. Here a
// family is fixed-pitch when "i" and "W" advance equally in it (IsFixedPitch).
//
// The colour is there because the system font dialogs have it; the options dialog discards
// it (its colours have a page of their own).
//
// Open it through TUiServices::ExecFontDialog, so that tests can answer for the user. The
// families are measured when the dialog is first shown, not when it is created: an options
// dialog that is never asked for a font does not pay for measuring every installed face.
//
// Who calls: the options dialog, through TUiServices::ExecFontDialog.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

class TFixedPitchFontDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFixedPitchFontDialog(QWidget *parent = nullptr);

    // What the dialog shows and, after OK, what was chosen. A family the list lacks (not
    // installed, or not fixed-pitch) is kept as it is until the user picks another; the list
    // meanwhile marks the face drawn in its stead, when that one is listed.
    QFont CurrentFont() const { return FFont; }
    void SetCurrentFont(const QFont &font);
    QColor CurrentColor() const { return FColor; }
    void SetCurrentColor(const QColor &color);

    // Whether the family is installed, draws "i" and "W" itself (not through a fallback face)
    // and advances both alike.
    static bool IsFixedPitch(const QString &family);
    // The installed families that pass IsFixedPitch, in the font database's order.
    static QStringList FixedPitchFamilies();

    QListWidget *lstFamily;
    QListWidget *lstStyle; // 標準, 斜体, 太字, 太字 斜体: row = 2 * bold + italic
    QSpinBox *edtSize;
    QCheckBox *chkStrikeOut;
    QCheckBox *chkUnderline;
    QComboBox *cmbColor;
    QLabel *lblSample;
    QPushButton *btnOK;
    QPushButton *btnCancel;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void FillFamilies();
    // Shows FFont and FColor in the controls.
    void ShowCurrent();
    void UpdateSample();
    // Takes a change of a control into FFont / FColor; ignored while ShowCurrent runs.
    void ControlChanged();

    QFont FFont;
    QColor FColor{Qt::black};
    bool FFilled = false;
    bool FShowing = false;
};
