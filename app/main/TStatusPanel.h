#pragma once
// One panel of the main window's status bar: a sunken label that asks for the width of the
// widest text it can show (TWidestText, in its own font, again after a font change) plus its
// frame and padding, whatever it shows at the moment, so no text is cut and no panel jumps
// when its text changes.
//
// That width is a hint, also the minimum one, never a fixed size: in a window narrower than
// all panels together the status bar squeezes them, the widest first, their texts clipped,
// where fixed-width panels would be laid over each other. A minimum hint from the text shown
// at the moment would make the squeezed panels jump as their texts change.
//
// Who calls: the main window, for each of its five status panels.

#include <QLabel>
#include <QStringList>

class TStatusPanel : public QLabel {
public:
    explicit TStatusPanel(QWidget *parent = nullptr);

    // The texts the panel may show, at their widest; none: the panel asks for its frame only.
    void SetLongestTexts(const QStringList &texts);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *e) override;

private:
    void Measure();

    QStringList FLongest;
    int FTextWidth = 0;
};
