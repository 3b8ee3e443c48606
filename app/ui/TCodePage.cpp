#include "TCodePage.h"

#include "TCodePageText.h"

QByteArray TCodePage::ToCodePage(const QString &text)
{
    return QByteArray::fromStdString(TCodePageText::Encode(TCodePageText::TCode::ShiftJis, text.toStdU16String()));
}

QString TCodePage::FromCodePage(const QByteArray &bytes)
{
    return QString::fromStdU16String(
        TCodePageText::Decode(TCodePageText::TCode::ShiftJis, bytes.constData(), size_t(bytes.size())));
}
