#include "TDesktopIntegration.h"

#include "TWideText.h"

#include <windows.h>

namespace {
// Every file's context menu, for this user alone: no administrator needed.
const wchar_t *const kVerbKey = L"Software\\Classes\\*\\shell\\hexcavator";
const wchar_t *const kCommandKey = L"Software\\Classes\\*\\shell\\hexcavator\\command";

bool SetText(HKEY key, const wchar_t *name, const std::wstring &value)
{
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                            DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

HKEY Create(const wchar_t *path)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}
} // namespace

std::string TDesktopIntegration::DataHome()
{
    return "HKEY_CURRENT_USER\\" + TWideText::ToUtf8(kVerbKey);
}

bool TDesktopIntegration::IsRegistered()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kCommandKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void TDesktopIntegration::Register(const std::string &program)
{
    Unregister(); // afresh: nothing left over from an entry edited by hand
    std::wstring exe = TWideText::ToWide(program);
    for (wchar_t &c : exe)
        if (c == L'/')
            c = L'\\';
    const std::wstring text = TWideText::ToWide(kMenuText);
    if (HKEY verb = Create(kVerbKey)) {
        SetText(verb, nullptr, text);
        SetText(verb, L"MUIVerb", text);
        SetText(verb, L"Icon", L"\"" + exe + L"\",0");
        ::RegCloseKey(verb);
    }
    // The command key last: it is what IsRegistered asks about.
    if (HKEY command = Create(kCommandKey)) {
        SetText(command, nullptr, L"\"" + exe + L"\" \"%1\"");
        ::RegCloseKey(command);
    }
}

void TDesktopIntegration::Unregister() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kVerbKey); }
