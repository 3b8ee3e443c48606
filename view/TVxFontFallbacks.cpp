#include "TVxFontFallbacks.h"

#include "TFontNames.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>

namespace {
// Fixed pitch by measure: Japanese monospace faces often do not set the flag.
bool MeasuresFixed(const QString &family)
{
    const QFontMetricsF m(QFont(family, 12));
    return m.horizontalAdvance(QLatin1Char('i')) == m.horizontalAdvance(QLatin1Char('W'));
}
} // namespace

QStringList TVxFontFallbacks::For(const QString &family)
{
    QStringList out;
    for (const std::string &name : TFontNames::Substitutes(family.toStdString()))
        out << QString::fromStdString(name);
    if (out.isEmpty())
        return out;
    for (const QString &f : QFontDatabase::families(QFontDatabase::Japanese))
        if (!out.contains(f) && (QFontDatabase::isFixedPitch(f) || MeasuresFixed(f)))
            out << f;
    return out;
}

void TVxFontFallbacks::Install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const QString &family : {QStringLiteral("FixedSys"), QStringLiteral("ＭＳ Ｐゴシック")}) {
        const QStringList subs = For(family);
        if (!subs.isEmpty())
            QFont::insertSubstitutions(family, subs);
    }
}
