#pragma once
// How a fill or bit operation reads the bytes as numbers: units of 1, 2, 4 or 8 bytes counted
// from the range's start, in little- or big-endian byte order.
//
// Cost: Load and Store are a few instructions (a copy and, for the order the machine does
// not use, a byte swap).

#include <cstdint>
#include <cstring>

struct TVxUnitOrder {
    int Unit = 1; // 1, 2, 4 or 8
    bool BigEndian = false;

    static bool ValidUnit(int unit) { return unit == 1 || unit == 2 || unit == 4 || unit == 8; }
    // All ones in the unit's width.
    uint64_t Mask() const { return Unit == 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * Unit)) - 1; }
    int Bits() const { return 8 * Unit; }

    // The unit at p as a number.
    uint64_t Load(const uint8_t *p) const
    {
        uint64_t v = 0;
        for (int i = 0; i < Unit; ++i)
            v |= uint64_t(p[BigEndian ? Unit - 1 - i : i]) << (8 * i);
        return v;
    }
    // The low Unit bytes of v at p; only the first `keep` bytes are written (a unit cut short
    // at the end of a range).
    void Store(uint64_t v, uint8_t *p, int keep) const
    {
        uint8_t bytes[8];
        for (int i = 0; i < Unit; ++i)
            bytes[BigEndian ? Unit - 1 - i : i] = uint8_t(v >> (8 * i));
        std::memcpy(p, bytes, static_cast<size_t>(keep));
    }
    void Store(uint64_t v, uint8_t *p) const { Store(v, p, Unit); }
};
