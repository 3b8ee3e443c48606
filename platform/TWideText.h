#pragma once
// UTF-8 (the program's paths and texts everywhere) to and from UTF-16 (what the wide Windows
// calls take). Only the Windows files of platform/ use it; there is no ANSI call anywhere, so
// a Japanese file name works whatever the system's code page.
//
// Invalid UTF-8 becomes U+FFFD rather than failing: a name that cannot be converted cannot
// name an existing file either, and the call that follows says so.

#include <string>

class TWideText {
public:
    static std::wstring ToWide(const std::string &utf8);
    static std::string ToUtf8(const std::wstring &wide);
    static std::string ToUtf8(const wchar_t *wide, size_t length);
};
