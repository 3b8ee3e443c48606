#include "TStrToInt.h"

int TStrToInt::HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool TStrToInt::TryParse(const std::string &text, int32_t &value)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    if (i == n)
        return false;

    size_t digits = 0;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X' ||
        (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X'))) {
        i += text[i] == '0' ? 2 : 1;
        uint32_t v = 0;
        for (; i < n; ++i, ++digits) {
            int d = HexDigit(text[i]);
            if (d < 0 || digits == 8)
                return false;
            v = (v << 4) | static_cast<uint32_t>(d);
        }
        if (digits == 0)
            return false;
        value = static_cast<int32_t>(v);
        return true;
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated as a magnitude in 64 bits so that -2147483648 fits and overflow is seen
    // before it can wrap.
    int64_t v = 0;
    const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : INT32_MAX;
    for (; i < n; ++i, ++digits) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > limit)
            return false;
    }
    if (digits == 0)
        return false;
    value = static_cast<int32_t>(negative ? -v : v);
    return true;
}
