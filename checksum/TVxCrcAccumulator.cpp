#include "TVxCrcAccumulator.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>

#if defined(__x86_64__) || defined(__i386__)
#include <nmmintrin.h>
#define HX_CRC32C_HW 1
#endif

namespace {
using TTables = uint32_t[8][256];

uint32_t Le32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Table k gives a byte's contribution followed by k zero bytes, for a reflected CRC.
struct TReflected {
    TTables T;
    explicit TReflected(uint32_t poly)
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int b = 0; b < 8; ++b)
                c = c & 1 ? (c >> 1) ^ poly : c >> 1;
            T[0][i] = c;
        }
        for (int k = 1; k < 8; ++k)
            for (int i = 0; i < 256; ++i)
                T[k][i] = (T[k - 1][i] >> 8) ^ T[0][T[k - 1][i] & 0xFF];
    }
    uint32_t Update(uint32_t crc, const uint8_t *p, size_t n) const
    {
        for (; n >= 8; p += 8, n -= 8) {
            const uint32_t a = Le32(p) ^ crc, b = Le32(p + 4);
            crc = T[7][a & 0xFF] ^ T[6][(a >> 8) & 0xFF] ^ T[5][(a >> 16) & 0xFF] ^ T[4][a >> 24] ^
                  T[3][b & 0xFF] ^ T[2][(b >> 8) & 0xFF] ^ T[1][(b >> 16) & 0xFF] ^ T[0][b >> 24];
        }
        for (; n > 0; ++p, --n)
            crc = (crc >> 8) ^ T[0][(crc ^ *p) & 0xFF];
        return crc;
    }
};

// The same for a 16-bit CRC that is not reflected: the first byte meets the high byte.
struct TForward16 {
    TTables T;
    explicit TForward16(uint32_t poly)
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i << 8;
            for (int b = 0; b < 8; ++b)
                c = (c & 0x8000 ? (c << 1) ^ poly : c << 1) & 0xFFFF;
            T[0][i] = c;
        }
        for (int k = 1; k < 8; ++k)
            for (int i = 0; i < 256; ++i)
                T[k][i] = ((T[k - 1][i] << 8) ^ T[0][T[k - 1][i] >> 8]) & 0xFFFF;
    }
    uint32_t Update(uint32_t crc, const uint8_t *p, size_t n) const
    {
        for (; n >= 8; p += 8, n -= 8)
            crc = T[7][p[0] ^ (crc >> 8)] ^ T[6][p[1] ^ (crc & 0xFF)] ^ T[5][p[2]] ^ T[4][p[3]] ^ T[3][p[4]] ^
                  T[2][p[5]] ^ T[1][p[6]] ^ T[0][p[7]];
        for (; n > 0; ++p, --n)
            crc = ((crc << 8) ^ T[0][(crc >> 8) ^ *p]) & 0xFFFF;
        return crc;
    }
};

const TReflected &Arc()
{
    static const TReflected t(0xA001);
    return t;
}
const TReflected &Castagnoli()
{
    static const TReflected t(0x82F63B78);
    return t;
}
const TForward16 &Ccitt()
{
    static const TForward16 t(0x1021);
    return t;
}

#ifdef HX_CRC32C_HW
__attribute__((target("sse4.2"))) uint32_t Crc32cInstruction(uint32_t crc, const uint8_t *p, size_t n)
{
#if defined(__x86_64__)
    uint64_t c = crc;
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t w;
        __builtin_memcpy(&w, p, 8);
        c = _mm_crc32_u64(c, w);
    }
    crc = uint32_t(c);
#endif
    for (; n > 0; ++p, --n)
        crc = _mm_crc32_u8(crc, *p);
    return crc;
}

bool HasCrc32Instruction()
{
    static const bool has = __builtin_cpu_supports("sse4.2");
    return has;
}
#endif

uint32_t Crc32c(uint32_t crc, const uint8_t *p, size_t n)
{
#ifdef HX_CRC32C_HW
    if (HasCrc32Instruction())
        return Crc32cInstruction(crc, p, n);
#endif
    return Castagnoli().Update(crc, p, n);
}
} // namespace

TVxCrcAccumulator::TVxCrcAccumulator(TVxChecksum kind) : FKind(kind)
{
    switch (kind) {
    case TVxChecksum::Crc16Arc: FValue = 0; break;
    case TVxChecksum::Crc16CcittFalse: FValue = 0xFFFF; break;
    case TVxChecksum::Crc32: FValue = uint32_t(crc32_z(0, Z_NULL, 0)); break;
    case TVxChecksum::Crc32C: FValue = 0xFFFFFFFF; break;
    case TVxChecksum::Adler32: FValue = uint32_t(adler32_z(0, Z_NULL, 0)); break;
    default: throw std::invalid_argument("TVxCrcAccumulator: not a CRC");
    }
}

void TVxCrcAccumulator::Update(const uint8_t *data, size_t count)
{
    switch (FKind) {
    case TVxChecksum::Crc16Arc: FValue = Arc().Update(FValue, data, count); break;
    case TVxChecksum::Crc16CcittFalse: FValue = Ccitt().Update(FValue, data, count); break;
    case TVxChecksum::Crc32: FValue = uint32_t(crc32_z(FValue, data, count)); break;
    case TVxChecksum::Crc32C: FValue = Crc32c(FValue, data, count); break;
    case TVxChecksum::Adler32: FValue = uint32_t(adler32_z(FValue, data, count)); break;
    default: break;
    }
}

std::string TVxCrcAccumulator::Result()
{
    const bool wide = FKind != TVxChecksum::Crc16Arc && FKind != TVxChecksum::Crc16CcittFalse;
    const uint32_t value = FKind == TVxChecksum::Crc32C ? ~FValue : FValue;
    char text[16];
    std::snprintf(text, sizeof text, "%0*lX", wide ? 8 : 4, static_cast<unsigned long>(value));
    return text;
}
