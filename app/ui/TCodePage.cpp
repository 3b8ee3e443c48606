#include "TCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray TCodePage::ToCodePage(const QString &text)
{
    QStringEncoder enc("Shift_JIS");
    return enc.encode(text);
}

QString TCodePage::FromCodePage(const QByteArray &bytes)
{
    QStringDecoder dec("Shift_JIS");
    return dec.decode(bytes);
}
