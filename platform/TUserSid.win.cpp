#include "TUserSid.h"

// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <sddl.h>

TUserSid::TSid TUserSid::OfToken(void *token)
{
    DWORD needed = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    if (needed == 0)
        return TSid();
    std::vector<unsigned char> buf(needed);
    if (!::GetTokenInformation(token, TokenUser, buf.data(), needed, &needed))
        return TSid();
    const PSID sid = reinterpret_cast<const TOKEN_USER *>(buf.data())->User.Sid;
    if (!::IsValidSid(sid))
        return TSid();
    const auto *bytes = static_cast<const unsigned char *>(sid);
    return TSid(bytes, bytes + ::GetLengthSid(sid));
}

TUserSid::TSid TUserSid::OfProcess(unsigned long processId)
{
    TSid out;
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return out;
    HANDLE token = nullptr;
    if (::OpenProcessToken(process, TOKEN_QUERY, &token)) {
        out = OfToken(token);
        ::CloseHandle(token);
    }
    ::CloseHandle(process);
    return out;
}

const TUserSid::TSid &TUserSid::Own()
{
    static const TSid own = [] {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return TSid();
        TSid sid = OfToken(token);
        ::CloseHandle(token);
        return sid;
    }();
    return own;
}

bool TUserSid::IsOwn(const void *sid)
{
    const TSid &own = Own();
    return sid && !own.empty() && ::IsValidSid(const_cast<PSID>(sid)) &&
           ::EqualSid(const_cast<PSID>(sid), const_cast<unsigned char *>(own.data()));
}

std::wstring TUserSid::ToString(const TSid &sid)
{
    LPWSTR text = nullptr;
    if (sid.empty() || !::ConvertSidToStringSidW(const_cast<unsigned char *>(sid.data()), &text))
        return std::wstring();
    std::wstring out = text;
    ::LocalFree(text);
    return out;
}
