#include "TToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>

namespace {
const QColor kInk(0x30, 0x30, 0x38);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2E, 0x6D, 0xB4);
const QColor kYellow(0xE8, 0xB8, 0x3A);
const QColor kRed(0xC0, 0x39, 0x2B);

void Page(QPainter &p, QRectF r)
{
    QPolygonF shape;
    shape << r.topLeft() << QPointF(r.right() - 5, r.top()) << QPointF(r.right(), r.top() + 5) << r.bottomRight()
          << r.bottomLeft();
    p.setBrush(kPaper);
    p.drawPolygon(shape);
}

void Lens(QPainter &p, QPointF c)
{
    p.setBrush(QColor(0xCF, 0xE6, 0xFA));
    p.drawEllipse(c, 6, 6);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(4.5, 4.5), c + QPointF(9, 9));
    p.setPen(QPen(kInk, 1.5));
}

void Arrow(QPainter &p, QPointF from, QPointF to)
{
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    QPointF d = to - from;
    double len = std::hypot(d.x(), d.y());
    QPointF u = d / len, n(-u.y(), u.x());
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF() << to + u * 3 << to - u * 3 + n * 4 << to - u * 3 - n * 4);
    p.setPen(QPen(kInk, 1.5));
}

void Draw(QPainter &p, const QString &name)
{
    p.setPen(QPen(kInk, 1.5));
    if (name == QLatin1String("close")) {
        p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    } else if (name == QLatin1String("new")) {
        Page(p, QRectF(5, 3, 14, 18));
        p.setPen(QPen(kYellow, 2));
        p.drawLine(QPointF(16, 15), QPointF(22, 21));
        p.drawLine(QPointF(22, 15), QPointF(16, 21));
    } else if (name == QLatin1String("open")) {
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF() << QPointF(2, 7) << QPointF(9, 7) << QPointF(11, 9) << QPointF(20, 9)
                                  << QPointF(20, 19) << QPointF(2, 19));
        p.setBrush(QColor(0xF5, 0xD7, 0x7A));
        p.drawPolygon(QPolygonF() << QPointF(5, 12) << QPointF(23, 12) << QPointF(20, 19) << QPointF(2, 19));
    } else if (name == QLatin1String("save")) {
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 4, 10, 7));
        p.setBrush(QColor(0xDD, 0xDD, 0xDD));
        p.drawRect(QRectF(7, 14, 10, 7));
    } else if (name == QLatin1String("print")) {
        Page(p, QRectF(7, 2, 10, 8));
        p.setBrush(QColor(0x9A, 0xA0, 0xA8));
        p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
        Page(p, QRectF(6, 14, 12, 8));
    } else if (name == QLatin1String("undo") || name == QLatin1String("redo")) {
        if (name == QLatin1String("redo")) { // the undo arrow, mirrored
            p.translate(24, 0);
            p.scale(-1, 1);
        }
        QPainterPath path(QPointF(19, 18));
        path.cubicTo(QPointF(19, 8), QPointF(10, 6), QPointF(6, 11));
        p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF() << QPointF(3, 6) << QPointF(10, 9) << QPointF(4, 14));
    } else if (name == QLatin1String("find")) {
        Lens(p, QPointF(10, 10));
    } else if (name == QLatin1String("findnext")) {
        Lens(p, QPointF(8, 8));
        Arrow(p, QPointF(13, 20), QPointF(21, 20));
    } else if (name == QLatin1String("findprev")) {
        Lens(p, QPointF(14, 8));
        Arrow(p, QPointF(11, 20), QPointF(3, 20));
    } else if (name == QLatin1String("cut")) {
        p.setPen(QPen(kInk, 2));
        p.drawLine(QPointF(7, 3), QPointF(15, 15));
        p.drawLine(QPointF(17, 3), QPointF(9, 15));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kRed, 2));
        p.drawEllipse(QPointF(7, 18), 3.5, 3.5);
        p.drawEllipse(QPointF(17, 18), 3.5, 3.5);
    } else if (name == QLatin1String("copy")) {
        Page(p, QRectF(3, 2, 12, 15));
        Page(p, QRectF(9, 7, 12, 15));
    } else if (name == QLatin1String("paste")) {
        p.setBrush(QColor(0xB0, 0x85, 0x50));
        p.drawRoundedRect(QRectF(3, 4, 15, 18), 2, 2);
        p.setBrush(QColor(0x9A, 0xA0, 0xA8));
        p.drawRect(QRectF(7, 2, 7, 4));
        Page(p, QRectF(10, 10, 11, 13));
    } else if (name == QLatin1String("option")) {
        p.setBrush(QColor(0x7A, 0x80, 0x88));
        p.save();
        p.translate(12, 12);
        for (int i = 0; i < 8; ++i) {
            p.drawRect(QRectF(-2, -10.5, 4, 5));
            p.rotate(45);
        }
        p.drawEllipse(QPointF(0, 0), 7, 7);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
        p.restore();
    } else if (name == QLatin1String("readonly")) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 2.5));
        p.drawArc(QRectF(7, 3, 10, 12), 0, 180 * 16);
        p.drawLine(QPointF(7, 9), QPointF(7, 11));
        p.drawLine(QPointF(17, 9), QPointF(17, 11));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kYellow);
        p.drawRoundedRect(QRectF(4, 11, 16, 11), 2, 2);
    } else {
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, 18, 18));
    }
}
} // namespace

QIcon TToolIcons::Icon(const QString &name)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, name);
    p.end();
    return QIcon(pm);
}
