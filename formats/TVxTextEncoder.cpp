#include "TVxTextEncoder.h"

#include "TVxHexDigits.h"

#include <algorithm>

namespace {
constexpr int kCValuesPerLine = 16;
constexpr int kBase64Line = 76;
const char kLowerHex[] = "0123456789abcdef";
const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
} // namespace

TVxTextEncoder::TVxTextEncoder(TKind kind, int64_t total) : FKind(kind), FTotal(total) {}

void TVxTextEncoder::Begin(std::string &out)
{
    if (FKind == TKind::CArray)
        out += "unsigned char data[" + std::to_string(FTotal) + "] = {\n";
    else if (FKind == TKind::Python)
        out += "b'";
}

void TVxTextEncoder::Add(const uint8_t *data, size_t count, std::string &out)
{
    switch (FKind) {
    case TKind::HexString: {
        const size_t at = out.size();
        out.resize(at + 2 * count);
        TVxHexDigits::Encode(data, count, &out[at]);
        break;
    }
    case TKind::Python: {
        const size_t at = out.size();
        out.resize(at + 4 * count);
        char *p = &out[at];
        for (size_t i = 0; i < count; ++i) {
            *p++ = '\\';
            *p++ = 'x';
            // Lower case, as Python itself writes escapes.
            *p++ = kLowerHex[data[i] >> 4];
            *p++ = kLowerHex[data[i] & 15];
        }
        break;
    }
    case TKind::CArray:
        for (size_t i = 0; i < count; ++i, ++FDone) {
            const int column = static_cast<int>(FDone % kCValuesPerLine);
            if (column == 0)
                out += "    ";
            char value[4] = {'0', 'x'};
            TVxHexDigits::Put(value + 2, data[i]);
            out.append(value, 4);
            const bool last = FDone + 1 == FTotal;
            if (!last)
                out += ',';
            out += (last || column == kCValuesPerLine - 1) ? '\n' : ' ';
        }
        break;
    case TKind::Base64:
        AddBase64(data, count, out);
        break;
    }
}

void TVxTextEncoder::AddBase64(const uint8_t *data, size_t count, std::string &out)
{
    size_t i = 0;
    // Complete the group that the previous block left open.
    while (FCarryCount > 0 && FCarryCount < 3 && i < count) {
        if (FCarryCount == 2) {
            const uint8_t g[3] = {FCarry[0], FCarry[1], data[i++]};
            const char c[4] = {kBase64[g[0] >> 2], kBase64[((g[0] & 3) << 4) | (g[1] >> 4)],
                               kBase64[((g[1] & 15) << 2) | (g[2] >> 6)], kBase64[g[2] & 63]};
            PutBase64Line(c, 4, out);
            FCarryCount = 0;
        } else {
            FCarry[FCarryCount++] = data[i++];
        }
    }
    char chunk[4 * 1024] = {};
    size_t n = 0;
    for (; i + 3 <= count; i += 3) {
        const uint8_t *g = data + i;
        chunk[n++] = kBase64[g[0] >> 2];
        chunk[n++] = kBase64[((g[0] & 3) << 4) | (g[1] >> 4)];
        chunk[n++] = kBase64[((g[1] & 15) << 2) | (g[2] >> 6)];
        chunk[n++] = kBase64[g[2] & 63];
        if (n == sizeof chunk) {
            PutBase64Line(chunk, n, out);
            n = 0;
        }
    }
    PutBase64Line(chunk, n, out);
    for (; i < count; ++i)
        FCarry[FCarryCount++] = data[i];
}

void TVxTextEncoder::PutBase64Line(const char *chars, size_t n, std::string &out)
{
    while (n > 0) {
        const size_t take = std::min<size_t>(n, static_cast<size_t>(kBase64Line - FColumn));
        out.append(chars, take);
        chars += take;
        n -= take;
        FColumn += static_cast<int>(take);
        if (FColumn == kBase64Line) {
            out += '\n';
            FColumn = 0;
        }
    }
}

void TVxTextEncoder::Finish(std::string &out)
{
    switch (FKind) {
    case TKind::CArray:
        out += "};\n";
        break;
    case TKind::Python:
        out += '\'';
        break;
    case TKind::Base64:
        if (FCarryCount > 0) {
            const uint8_t a = FCarry[0], b = FCarryCount == 2 ? FCarry[1] : 0;
            const char c[4] = {kBase64[a >> 2], kBase64[((a & 3) << 4) | (b >> 4)],
                               FCarryCount == 2 ? kBase64[(b & 15) << 2] : '=', '='};
            PutBase64Line(c, 4, out);
            FCarryCount = 0;
        }
        if (FColumn > 0)
            out += '\n';
        FColumn = 0;
        break;
    case TKind::HexString:
        break;
    }
}
