#pragma once
// Who is at the other end of a connected local socket, as the system vouches for it: an
// instance accepts notices only from processes of its own user, whatever the folder's or the
// pipe's permissions let through.
//
// POSIX: the descriptor is a Unix socket; SO_PEERCRED gives the peer's effective user id at
//        connect time, which must be this process's effective user id.
// Windows: the descriptor is the server end of a named pipe (the HANDLE that
//        QLocalSocket::socketDescriptor() gives); GetNamedPipeClientProcessId names the
//        client process, whose token's user SID must equal this process's. (A client on
//        another computer gets through the instances' pipes only as this very account,
//        which their DACL demands; its process id names no process here, so it is refused
//        unless that id happens to be one of this user's.)
//
// Errors: anything the system cannot answer (not a socket, the client already gone, no right
// to read its token) is "not our user".

#include <cstdint>

class TPeerCredentials {
public:
    static bool IsOwnUser(intptr_t socketDescriptor);
};
