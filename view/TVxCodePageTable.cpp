#include "TVxCodePageTable.h"

#include "TVxCharDecoder.h"

#include <QString>

char32_t TVxCodePageTable::Lookup(int index, const uint8_t *bytes, int count)
{
    if (FCodes.empty()) {
        FCodes.assign(size_t(FSize), 0);
        FDecoder = QStringDecoder(FCodec, QStringDecoder::Flag::Stateless);
    }
    char32_t &code = FCodes[size_t(index)];
    if (code != 0)
        return code;
    const QString text = FDecoder.decode(QByteArrayView(reinterpret_cast<const char *>(bytes), count));
    code = TVxCharDecoder::kUnmapped;
    if (text.size() == 1 && text.at(0) != QChar(0xFFFD) && text.at(0) != QChar(0x1A) && !text.at(0).isSurrogate())
        code = text.at(0).unicode();
    else if (text.size() == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        code = QChar::surrogateToUcs4(text.at(0), text.at(1));
    return code;
}
