#include "TWidestText.h"

#include <QRect>

#include <algorithm>

namespace {
QChar WidestOf(const QFontMetrics &fm, const QString &chars)
{
    QChar widest = chars.front();
    for (QChar c : chars)
        if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest))
            widest = c;
    return widest;
}

bool IsDecimal(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsHex(QChar c) { return IsDecimal(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('F')); }

// The text with each digit replaced by the font's widest one of its kind.
QString WithWidestDigits(const QFontMetrics &fm, const QString &text)
{
    const QChar decimal = WidestOf(fm, QStringLiteral("0123456789"));
    const QChar hex = WidestOf(fm, QStringLiteral("0123456789ABCDEF"));
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == QLatin1Char('0') && i + 1 < out.size() && out[i + 1] == QLatin1Char('x')) {
            for (i += 2; i < out.size() && IsHex(out[i]); ++i)
                out[i] = hex;
            --i;
        } else if (IsDecimal(out[i])) {
            out[i] = decimal;
        }
    }
    return out;
}
} // namespace

int TWidestText::Width(const QFontMetrics &fm, const QStringList &texts)
{
    int widest = 0;
    for (const QString &text : texts) {
        const QString t = WithWidestDigits(fm, text);
        // The advance, and the layout box a label draws the text in (it rounds up).
        widest = std::max({widest, fm.horizontalAdvance(t), fm.boundingRect(QRect(), Qt::TextSingleLine, t).width()});
    }
    return widest;
}
