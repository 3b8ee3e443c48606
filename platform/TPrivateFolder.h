#pragma once
// A folder that only this user can enter, and the stamped sockets in it: where the running
// instances of the program meet (TInstanceRegistry).
//
// The folder is $XDG_RUNTIME_DIR/<leaf> in a desktop session; without a usable
// XDG_RUNTIME_DIR it is <temporary folder>/<leaf>-<uid>. Ensure makes it with mode 0700 and
// refuses it when it is not a real folder of this user or when group or others may use it:
// a socket in it must be reachable by nobody else, and a folder that someone else could
// plant or open is never trusted (nor repaired: who made it so is unknown).
//
// Stamps: each socket's modification time, set explicitly with nanoseconds, records when its
// instance was last activated, so that anyone may read the front-to-back order from the
// folder alone, without asking a busy instance.
//
// POSIX; a port replaces this file pair.
// Errors: Ensure throws std::system_error (errno, the path and why); the rest return false
// or an empty list.

#include <cstdint>
#include <string>
#include <vector>

class TPrivateFolder {
public:
    struct TEntry {
        std::string Name;
        int64_t StampNs = 0;
    };

    // The folder's path for `leaf` (see above). Nothing is created.
    static std::string Locate(const std::string &leaf);
    // Creates the folder when missing (its parent must exist) and checks it.
    static void Ensure(const std::string &path);
    // The sockets directly inside `path` whose names end with `suffix`; nothing else.
    static std::vector<TEntry> Sockets(const std::string &path, const std::string &suffix);
    // Sets the modification time of the socket `path` (not following links).
    static bool SetStamp(const std::string &path, int64_t stampNs);
    static bool Remove(const std::string &path);
    // The wall clock in nanoseconds: one clock for every process of the machine.
    static int64_t NowNs();
};
