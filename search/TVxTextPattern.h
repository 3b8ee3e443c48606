#pragma once
// A search text as a pattern in the code the column shows (TVxTextCodec), ready for
// TVxSearcher.
//
// ASCII and Shift-JIS: the text's CP932 bytes, matched byte for byte with the Shift-JIS
// aware fold, every occurrence counting, as the search has always done.
//
// The other codes match whole characters: an occurrence counts only where the column's
// decoder (with its look-back) finds a character beginning at its first byte and at the
// byte after its last, and the characters in between are the text's own (compared as code
// points, the Latin letters folded when case is ignored). The bytes are first matched with
// a looser fold (the Latin capitals of every byte; a table's own letters), so the scan keeps
// its speed and only the few candidates are decoded. JIS: the pattern is the text's
// ISO-2022-JP bytes without the escape sequence that opens them and the one that closes
// them, so a word is found inside a longer run of its mode; the mode at the occurrence must
// be the text's own. Escapes inside the text are matched as they are written
// (ESC $ B, ESC ( B, ESC ( I).
//
// Ignoring case, a table folds a one-byte entry whose text is a capital to the one-byte
// entry of its small letter, when the table has one.
//
// Who calls: TVxSearchEngine, for every search and replace in text mode.

#include "TVxSearchPattern.h"

#include <string>

class TVxDocument;
class TVxTextCodec;

class TVxTextPattern {
public:
    // Throws TVxError TextNotEncodable when the code cannot carry a character of the text.
    // The pattern's Accept reads `doc`, which must outlive it.
    static TVxSearchPattern Make(const TVxTextCodec &codec, const std::u16string &text, bool ignoreCase,
                                 const TVxDocument &doc);
};
