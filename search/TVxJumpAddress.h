#pragma once
// The decisions of the jump dialog, so that it stays thin.
//
// The typed text converts as TStrToInt says (leading blanks; sign and decimal digits within
// the signed 32-bit range; or "$", "x", "X", "0x", "0X" and 1 to 8 hexadecimal digits as a
// 32-bit pattern). Check returns
//   Invalid    - the text does not convert or the value is negative: show kInvalid with the
//                information icon and open the dialog again with the previous text;
//   OutOfRange - the value is above FileSize: show kOutOfRange with the stop icon;
//   Ok         - move the caret to Offset (FileSize itself is the end position).
// In the last two cases the text becomes the remembered one ("JumpAddres" in "Settings").

#include <cstdint>
#include <string>

enum class TVxJumpCheck { Ok, Invalid, OutOfRange };

struct TVxJumpTarget {
    TVxJumpCheck Check = TVxJumpCheck::Invalid;
    int32_t Offset = -1;
};

class TVxJumpAddress {
public:
    static constexpr const char *kCaption = "指定アドレスにジャンプ";
    static constexpr const char *kPrompt = "アドレス(16進指定の場合は先頭に\"$\"を付加)";
    static constexpr const char *kInvalid = "指定したアドレスが無効です。";
    static constexpr const char *kOutOfRange = "指定したアドレスが範囲外です。";
    static constexpr const char *kSection = "Settings";
    static constexpr const char *kKey = "JumpAddres";
    static constexpr const char *kDefault = "$00000";

    static TVxJumpTarget Check(const std::string &text, int32_t fileSize);
};
