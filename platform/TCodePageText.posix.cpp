#include "TCodePageText.h"

// Qt's converters: with ICU they hold the tables ("Shift_JIS" is ICU's CP932 one, "EUC-JP" its
// table with CP932's JIS X 0208 mappings). Stateless, so a reused converter carries nothing
// from one call to the next: a cut-off lead byte is dropped, as a fresh converter drops it.

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char *NameOf(TCodePageText::TCode code)
{
    return code == TCodePageText::TCode::ShiftJis ? "Shift_JIS" : "EUC-JP";
}

// One converter per code page and thread: opening ICU's converter for every character of the
// column or of a printed page would cost more than the conversion.
QStringDecoder &DecoderFor(TCodePageText::TCode code)
{
    thread_local QStringDecoder sjis(NameOf(TCodePageText::TCode::ShiftJis), QStringDecoder::Flag::Stateless);
    thread_local QStringDecoder euc(NameOf(TCodePageText::TCode::EucJp), QStringDecoder::Flag::Stateless);
    return code == TCodePageText::TCode::ShiftJis ? sjis : euc;
}

QStringEncoder &EncoderFor(TCodePageText::TCode code)
{
    thread_local QStringEncoder sjis(NameOf(TCodePageText::TCode::ShiftJis), QStringEncoder::Flag::Stateless);
    thread_local QStringEncoder euc(NameOf(TCodePageText::TCode::EucJp), QStringEncoder::Flag::Stateless);
    return code == TCodePageText::TCode::ShiftJis ? sjis : euc;
}
} // namespace

std::u16string TCodePageText::Decode(TCode code, const char *bytes, size_t count)
{
    const QString text = DecoderFor(code).decode(QByteArrayView(bytes, qsizetype(count)));
    return text.toStdU16String();
}

std::string TCodePageText::Encode(TCode code, const char16_t *text, size_t length)
{
    const QByteArray bytes = EncoderFor(code).encode(QStringView(text, qsizetype(length)));
    return bytes.toStdString();
}
