#include "TfrmVersion.h"

#include "TAppUtils.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRegion>
#include <QThread>

QPointer<TfrmVersion> TfrmVersion::FCurrent;

TfrmVersion::TfrmVersion(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), FPicture(Picture())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers every pixel
    setFixedSize(FPicture.size());
    FCurrent = this;
    TAppUtils::CenterOnMainForm(this, mainWindow);
}

TfrmVersion::~TfrmVersion()
{
    if (FCurrent == this)
        FCurrent = nullptr;
}

TfrmVersion *TfrmVersion::ShowAbout(QWidget *mainWindow)
{
    TfrmVersion *box = FCurrent ? FCurrent.data() : new TfrmVersion(mainWindow);
    box->show();
    box->raise();
    box->activateWindow();
    return box;
}

QImage TfrmVersion::Picture()
{
    QImage img(300, 100, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 300, 100);
    bg.setColorAt(0, QColor(0x10, 0x2A, 0x5C));
    bg.setColorAt(1, QColor(0x2E, 0x7D, 0xB8));
    p.fillRect(img.rect(), bg);
    // A faint column of hexadecimal digits behind the title.
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(11);
    p.setFont(mono);
    p.setPen(QColor(255, 255, 255, 40));
    for (int row = 0; row < 8; ++row) {
        QString line;
        for (int i = 0; i < 16; ++i)
            line += QString::asprintf("%02X ", (row * 37 + i * 11) & 0xFF);
        p.drawText(6, 12 + row * 12, line);
    }
    QFont title;
    title.setPixelSize(28);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 12, 300, 44), Qt::AlignCenter, TAppUtils::ApplicationTitle());
    QFont small;
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(0xDD, 0xEE, 0xFF));
    const QStringList lines = PictureLines();
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(0, 52 + 16 * i, 300, 16), Qt::AlignCenter, lines[i]);
    p.setPen(QColor(255, 255, 255, 120));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

QStringList TfrmVersion::PictureLines()
{
    // Our own artwork, so it speaks the program's language: what it is, its version, and
    // its terms (the package's copyright file grants no licence yet: all rights reserved).
    return {QStringLiteral("16進数ファイルエディタ　バージョン %1").arg(QStringLiteral(HEXCAVATOR_VERSION)),
            QStringLiteral("© 2026 Hexcavator 開発者"), QStringLiteral("ライセンス: すべての権利を留保します")};
}

void TfrmVersion::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, FPicture);
}

bool TfrmVersion::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && !FActivated) {
        FActivated = true;
        Reveal();
    }
    return QWidget::event(e);
}

void TfrmVersion::Reveal()
{
    const int w = width(), h = height();
    for (int n = 50; n >= 0; --n) {
        setMask(QRegion(3 * n, n, std::max(0, w - 6 * n), std::max(0, h - 2 * n)));
        repaint();
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    clearMask();
    FRevealed = true;
    if (FCloseAfterReveal)
        close();
}

void TfrmVersion::keyPressEvent(QKeyEvent *)
{
    if (FRevealed)
        close();
}

void TfrmVersion::mousePressEvent(QMouseEvent *)
{
    if (FRevealed)
        close();
}

void TfrmVersion::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::ActivationChange && FRevealed && !isActiveWindow())
        close();
    QWidget::changeEvent(e);
}

void TfrmVersion::closeEvent(QCloseEvent *e)
{
    // The reveal loop runs on this window; a close that arrives through its message processing
    // (the program quitting, say) waits until the loop has ended.
    if (FActivated && !FRevealed) {
        FCloseAfterReveal = true;
        e->ignore();
        return;
    }
    e->accept();
}
