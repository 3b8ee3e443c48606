#include "TPeerCredentials.h"

#include <sys/socket.h>
#include <unistd.h>

long TPeerCredentials::PeerUid(int socketFd)
{
    struct ucred cred = {};
    socklen_t len = sizeof cred;
    if (socketFd < 0 || ::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred)
        return -1;
    return static_cast<long>(cred.uid);
}

long TPeerCredentials::OwnUid() { return static_cast<long>(::geteuid()); }
