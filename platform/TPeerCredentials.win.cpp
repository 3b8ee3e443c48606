#include "TPeerCredentials.h"

#include "TUserSid.h"

#include <windows.h>

bool TPeerCredentials::IsOwnUser(intptr_t socketDescriptor)
{
    const HANDLE pipe = reinterpret_cast<HANDLE>(socketDescriptor);
    if (pipe == nullptr || pipe == INVALID_HANDLE_VALUE)
        return false;
    ULONG pid = 0;
    if (!::GetNamedPipeClientProcessId(pipe, &pid) || pid == 0)
        return false;
    const TUserSid::TSid peer = TUserSid::OfProcess(pid);
    return !peer.empty() && TUserSid::IsOwn(peer.data());
}
