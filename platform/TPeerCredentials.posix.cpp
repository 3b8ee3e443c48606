#include "TPeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

bool TPeerCredentials::IsOwnUser(intptr_t socketDescriptor)
{
    struct ucred cred = {};
    socklen_t len = sizeof cred;
    if (socketDescriptor < 0 || socketDescriptor > INT32_MAX ||
        ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 ||
        len != sizeof cred)
        return false;
    return cred.uid == ::geteuid();
}
