#pragma once
// Who this process runs as on Windows, in the form access control speaks: the security
// identifier (SID) of its token's user. The shared block, the instances' pipes and folder,
// and the peer check all compare against it. Only the Windows files of platform/ use it.
//
// Errors: an empty answer when the token cannot be read (never expected for the process's
// own token); callers then refuse, as for a stranger.

#include <string>
#include <vector>

class TUserSid {
public:
    using TSid = std::vector<unsigned char>;

    // This process's user, read once.
    static const TSid &Own();
    // The user of a token (a HANDLE with TOKEN_QUERY access).
    static TSid OfToken(void *token);
    // The user of a process: opened with PROCESS_QUERY_LIMITED_INFORMATION, its token read.
    static TSid OfProcess(unsigned long processId);
    // Whether `sid` (a PSID) is this process's user.
    static bool IsOwn(const void *sid);
    // "S-1-5-21-...", for security descriptors written as text.
    static std::wstring ToString(const TSid &sid);
};
