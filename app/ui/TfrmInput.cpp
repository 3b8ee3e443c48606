#include "TfrmInput.h"

#include "TAppUtils.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {
// n * unit / div rounded to the nearest integer.
int Scale(int n, int unit, int div) { return static_cast<int>(std::lround(double(n) * unit / div)); }
} // namespace

QSize TfrmInput::AverageCharSize(const QFont &font)
{
    QFontMetrics fm(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QSize(fm.horizontalAdvance(letters) / 52, fm.height());
}

TfrmInput::TfrmInput(const QString &caption, const QString &prompt, const QString &text, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    const QSize avg = AverageCharSize(font());
    const int dx = avg.width(), dy = avg.height();
    setFixedSize(Scale(180, dx, 4), Scale(63, dy, 8));

    auto *label = new QLabel(prompt, this);
    label->move(Scale(8, dx, 4), Scale(8, dy, 8));
    label->adjustSize();

    FEdit = new QLineEdit(this);
    FEdit->setGeometry(label->x(), Scale(19, dy, 8), Scale(164, dx, 4), FEdit->sizeHint().height());
    FEdit->setMaxLength(255);
    FEdit->setText(text);
    FEdit->selectAll();

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(Scale(38, dx, 4), Scale(41, dy, 8), Scale(50, dx, 4), Scale(14, dy, 8));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setGeometry(Scale(92, dx, 4), Scale(41, dy, 8), Scale(50, dx, 4), Scale(14, dy, 8));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(FEdit, ok);
    setTabOrder(ok, cancel);
    FEdit->setFocus();
}

QString TfrmInput::Text() const { return FEdit->text(); }

bool TfrmInput::ShowInputDialog(const QString &caption, const QString &prompt, QString &text, QWidget *centreOn)
{
    TfrmInput dlg(caption, prompt, text, centreOn);
    dlg.adjustSize();
    TAppUtils::CenterOnMainForm(&dlg, centreOn);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    text = dlg.Text();
    return true;
}
