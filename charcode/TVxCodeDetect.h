#pragma once
// A guess at the character code of a document from its first bytes, so that a file opens
// in the column's right code without the user choosing it.
//
// Detect looks at no more than the first kWindow bytes and applies these rules in order:
//   1. EF BB BF (the UTF-8 BOM) at the start              -> ccUTF8
//      FF FE (the UTF-16 little-endian BOM) at the start  -> ccUNICODE
//   2. binary data: a zero byte, or more than one byte in 64 below 0x20 other than TAB, LF,
//      FF, CR and ESC (and DEL)                            -> nothing
//   3. valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF) holding at least
//      one multi-byte character; a sequence cut off by the end of the window is allowed,
//      since the window may end inside a character               -> ccUTF8
//   4. no byte above 0x7F and an ESC $ B or ESC $ @ (JIS X 0208 begins) -> ccJIS
//   5. no byte above 0x7F: plain ASCII, any code shows it        -> nothing
//   6. otherwise EUC-JP against Shift-JIS (CP932). Each is parsed from the start: a
//      well-formed character of two or more bytes scores 2, an ill-formed byte costs 6 and
//      parsing goes on at the next byte; for Shift-JIS a half-width katakana byte (A1..DF)
//      scores only 1/2, since EUC-JP's kanji read as Shift-JIS are mostly such bytes. The
//      higher score wins; a tie, or no score above zero, gives nothing.
//
// Limits, all of which keep the current code or guess wrongly rather than fail:
//   - UTF-16 without a BOM has zero bytes: it counts as binary.
//   - A short Shift-JIS or EUC-JP text can be valid UTF-8 by chance (EUC-JP's rows C2..DF
//     with trail bytes A1..BF are well-formed two-byte UTF-8): a handful of characters may
//     read as UTF-8. The longer the text, the less likely.
//   - Shift-JIS made of half-width katakana alone is also well-formed EUC-JP, and scores
//     higher as EUC-JP: it reads as EUC-JP kanji.
//   - ISO-8859 and Windows code page texts are not among the codes: they end up as
//     Shift-JIS or EUC-JP, whichever parses better.
//   - Only the window is read: a document that is ASCII for its first 64 KiB is ASCII.
//
// Cost: one pass over the window per rule, no allocation; a few tenths of a millisecond for
// 64 KiB. Thread-safe (no state).
//
// Who calls: the program, on opening a document when the user asked for the code to be
// guessed; it keeps the current code on nothing.

#include "TVxTextFilter.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class TVxCodeDetect {
public:
    static constexpr size_t kWindow = 64 * 1024;

    // The code the first min(count, kWindow) bytes are written in, or nothing when they say
    // nothing (ASCII, binary data, no clear winner).
    static std::optional<TVxCharCode> Detect(const uint8_t *bytes, size_t count);
};
