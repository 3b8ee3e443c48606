#pragma once
// The about box: a borderless, modeless window showing one 300x100 picture. It opens with a
// reveal animation (a rectangle growing from the centre) and closes at the first key press,
// click or loss of focus after that animation; input during the animation is ignored. At most
// one exists; it deletes itself when closed.
//
// Who calls: the help commands (バージョン情報).

#include <QImage>
#include <QStringList>
#include <QPointer>
#include <QWidget>

class TfrmVersion : public QWidget {
    Q_OBJECT
public:
    explicit TfrmVersion(QWidget *mainWindow);
    ~TfrmVersion() override;

    // Shows the existing box or creates one, centred over the main window.
    static TfrmVersion *ShowAbout(QWidget *mainWindow);
    static TfrmVersion *Current() { return FCurrent; }

    bool Revealed() const { return FRevealed; }
    // The artwork, drawn in code.
    // The text lines under the title: what the program is, its version and its terms.
    static QStringList PictureLines();
    static QImage Picture();

protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void changeEvent(QEvent *) override;
    bool event(QEvent *) override;
    void closeEvent(QCloseEvent *) override;

private:
    void Reveal();

    static QPointer<TfrmVersion> FCurrent;
    QImage FPicture;
    bool FActivated = false; // the reveal has begun
    bool FRevealed = false;  // ... and ended: closing input is accepted from now on
    bool FCloseAfterReveal = false;
};
