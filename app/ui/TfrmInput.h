#pragma once
// The one-line input dialog of the string input and jump commands, built at run time. Every
// measure follows the dialog font's average character size, so it scales with the font.
//
// Who calls: TUiServices::AskString (typing a string, the jump address).

#include <QDialog>
#include <QSize>

class QFont;
class QLineEdit;

class TfrmInput : public QDialog {
    Q_OBJECT
public:
    TfrmInput(const QString &caption, const QString &prompt, const QString &text, QWidget *parent);
    QString Text() const;
    QLineEdit *Edit() const { return FEdit; }

    // Average width of A..Za..z and the text height in `font`.
    static QSize AverageCharSize(const QFont &font);
    // Modal; true on OK, and only then is `text` replaced by what was entered.
    static bool ShowInputDialog(const QString &caption, const QString &prompt, QString &text, QWidget *centreOn);

private:
    QLineEdit *FEdit;
};
