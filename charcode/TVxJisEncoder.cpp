#include "TVxJisEncoder.h"

#include "TCodePageText.h"

namespace {
enum class TMode { Ascii, Kanji, Katakana };

void SwitchTo(std::string &bytes, TMode &mode, TMode to)
{
    if (mode == to)
        return;
    static const char *const kEscapes[] = {"\x1B(B", "\x1B$B", "\x1B(I"};
    bytes += kEscapes[int(to)];
    mode = to;
}

bool IsEucPairByte(char c) { return uint8_t(c) >= 0xA1 && uint8_t(c) <= 0xFE; }
} // namespace

bool TVxJisEncoder::Encode(const std::u16string &text, std::string &bytes, size_t &bad)
{
    bytes.clear();
    TMode mode = TMode::Ascii;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7F) {
                bad = i;
                return false;
            }
            SwitchTo(bytes, mode, TMode::Ascii);
            bytes += char(c);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            SwitchTo(bytes, mode, TMode::Katakana);
            bytes += char(0x21 + (c - 0xFF61));
        } else {
            // Surrogates fall out here too: JIS X 0208 lies wholly in the BMP.
            const std::string euc = TCodePageText::Encode(TCodePageText::TCode::EucJp, &c, 1);
            if (euc.size() != 2 || !IsEucPairByte(euc[0]) || !IsEucPairByte(euc[1]) ||
                TCodePageText::Decode(TCodePageText::TCode::EucJp, euc) != std::u16string(1, c)) {
                bad = i;
                return false;
            }
            SwitchTo(bytes, mode, TMode::Kanji);
            bytes += char(euc[0] & 0x7F);
            bytes += char(euc[1] & 0x7F);
        }
    }
    SwitchTo(bytes, mode, TMode::Ascii);
    return true;
}
