#pragma once
// The platform's text-to-integer conversion (signed 32-bit), used for typed addresses and for
// numbers and colours read from the settings file.
//
// Accepted: optional leading blanks (0x20 only), then either an optional sign ("+", "-")
// and decimal digits whose value fits the signed 32-bit range, or a hexadecimal prefix ("$",
// "x", "X", "0x", "0X") and 1 to 8 hexadecimal digits of either case, without a sign, taken
// as a 32-bit pattern (eight F digits are -1). Nothing may follow the digits; an empty text
// fails.
//
// Out of range is unreadable, never wrapped or clamped: a decimal beyond -2147483648 ...
// 2147483647 (however many digits) and a ninth hexadecimal digit (a leading zero included)
// fail, so a settings value that overflows gives the caller's default.

#include <cstdint>
#include <string>

class TStrToInt {
public:
    // True and the value, or false with `value` untouched.
    static bool TryParse(const std::string &text, int32_t &value);
    static int32_t ParseOr(const std::string &text, int32_t fallback)
    {
        int32_t v = fallback;
        return TryParse(text, v) ? v : fallback;
    }
    // 0..15 for a hexadecimal digit of either case, -1 for anything else.
    static int HexDigit(char c);
};
