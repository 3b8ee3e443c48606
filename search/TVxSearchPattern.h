#pragma once
// What one scan looks for: the bytes, how their case folds when case is ignored, and which
// occurrences count. TVxTextPattern makes one from a search text and the column's code;
// a pattern made from bytes alone (hex mode, the tests) folds the Shift-JIS way and counts
// every occurrence.
//
// Folding happens before matching, on the pattern and on every block of data alike:
//   ShiftJis  the Latin capitals, except a byte after a Shift-JIS lead byte (TVxCaseFold);
//   Map       every byte through FoldMap (null: the 26 Latin capitals, vectorised).
// A fold may be looser than the code's rule (it may fold a byte inside a character):
// Accept then decides on the exact rule.
//
// Accept(p) says whether the occurrence at document offset p counts; it is asked only for
// occurrences the bytes already match, and may read the document (never through its cache
// window). Empty: every occurrence counts.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct TVxSearchPattern {
    enum class TFold { ShiftJis, Map };

    TVxSearchPattern() = default;
    explicit TVxSearchPattern(std::string bytes) : Bytes(std::move(bytes)) {}

    std::string Bytes;
    TFold Fold = TFold::ShiftJis;
    std::shared_ptr<const std::array<uint8_t, 256>> FoldMap;
    std::function<bool(int32_t p)> Accept;
};
