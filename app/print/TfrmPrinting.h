#pragma once
// The progress dialog of a print job: "印刷中", the document's name, the page being printed
// and a cancel button. Non-modal and without a parent, so that it stays usable while the
// busy state disables the main window (it is kept above that window instead).
//
// Cancelling, by the button, Esc or the close box, asks "印刷を中断してよろしいですか？":
// Yes calls OnCancel (the job stops at its next line) and hides the dialog; No leaves it
// as it was, the button enabled again. The dialog lives as long as its job; the print
// command destroys it.
//
// Who calls: the print command, which shows one while a job runs.

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class TBusyState;

class TfrmPrinting : public QDialog {
    Q_OBJECT
public:
    // `fileName`: the document's file name (empty for an untitled one); the busy state's
    // window is where the dialog is centred (none: its designed position), and the busy
    // state asks whether to stop.
    TfrmPrinting(TBusyState &busy, const QString &fileName);

    QLabel *Label1;
    QLabel *lblPageNo;
    QPushButton *Button1;
    std::function<void()> OnCancel;

    void ShowPage(int page);
    void Button1Click();

protected:
    void closeEvent(QCloseEvent *e) override;
    // Esc: the cancel button's question, not a silent hide.
    void reject() override { Button1Click(); }

private:
    TBusyState &FBusy;
    bool FormCloseQuery();
};
