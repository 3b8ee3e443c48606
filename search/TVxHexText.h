#pragma once
// Bytes typed as hexadecimal digits, for searching and replacing by bytes: pairs of digits in
// either letter case, blanks (spaces, tabs) between pairs and around them allowed: "82 A0",
// "82a0", "82 a0 41". A pair split by a blank, an odd number of digits or any other
// character (a full-width blank included) makes the whole text invalid. Blanks alone, or
// nothing, are the empty byte string: "replace by nothing".
//
// Who calls: the search state (TVxSearchText) for the bytes of a search made by hex, the
// find and replace dialogs to refuse a text before anything is searched.
// Cost: linear in the text.

#include <optional>
#include <string>
#include <string_view>

class TVxHexText {
public:
    static constexpr const char *kInvalid = "16進数の指定が正しくありません。";
    static std::optional<std::string> Parse(std::string_view typed);
};
