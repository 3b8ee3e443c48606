#pragma once
// Who is at the other end of a connected local socket, as the kernel vouches for it: an
// instance accepts notices only from processes of its own user, whatever the folder's
// permissions allowed through.
//
// Linux: SO_PEERCRED (the credentials of the peer when it connected). A port replaces this
// file pair (a named pipe's client process token).

#include <sys/types.h>

class TPeerCredentials {
public:
    // The peer's effective user id; -1 when the kernel cannot say (not a local socket).
    static long PeerUid(int socketFd);
    // This process's effective user id, the one a peer must have.
    static long OwnUid();
};
