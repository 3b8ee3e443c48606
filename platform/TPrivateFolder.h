#pragma once
// A folder that only this user can enter, and the stamped entries in it, one per running
// instance of the program: where the instances meet (TInstanceRegistry).
//
// POSIX. The folder is $XDG_RUNTIME_DIR/<leaf> in a desktop session; without a usable
// XDG_RUNTIME_DIR it is <temporary folder>/<leaf>-<uid>. Ensure makes it with mode 0700
// (its parent must exist) and refuses it when it is not a real folder of this user or when
// group or others may use it. Each instance's entry is its listening socket itself.
//
// Windows. The folder is %LOCALAPPDATA%/<leaf>/instances (the LOCALAPPDATA variable when it
// is absolute, else the known folder). The user's profile admits only the user, SYSTEM and
// the administrators, and what is made inside inherits that; Ensure makes the missing levels
// and gives the last one that same protected DACL explicitly, then refuses the folder when
// it is a link or junction, is owned by another account, or admits anyone else (CREATOR
// OWNER and OWNER RIGHTS stand for one of those admitted, so they pass). An instance
// listens on a named pipe, which lives in no folder: the pipe is named by the entry's full
// path (Qt puts "\\.\pipe\" before it) and admits only this user (EndpointsOutsideFolder),
// and the entry is a marker file of that name which the instance creates (Announce) and
// holds open, without letting anyone delete it, until Withdraw or its end: the system
// deletes it with the last handle, so even a killed instance leaves no marker behind (only a
// crash of the whole system does). Remove therefore fails for a live instance's marker. A
// pipe's name holds at most 256 characters, which a profile's folder leaves room for.
//
// A socket or pipe must be reachable by nobody else, and a folder that someone else could
// plant or open is never trusted (nor repaired: who made it so is unknown).
//
// Stamps: each entry's modification time, set explicitly, records when its instance was last
// activated, so that anyone may read the front-to-back order from the folder alone, without
// asking a busy instance. POSIX keeps nanoseconds; Windows keeps 100 ns steps, and SetStamp
// rounds up to the next step, so a stamp set one nanosecond after another stays after it.
//
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
    // Creates the folder when missing and checks it.
    static void Ensure(const std::string &path);
    // The instances' entries directly inside `path` whose names end with `suffix`: POSIX the
    // sockets, Windows the marker files; nothing else.
    static std::vector<TEntry> Sockets(const std::string &path, const std::string &suffix);
    // Sets the modification time of the entry `path` (not following links).
    static bool SetStamp(const std::string &path, int64_t stampNs);
    static bool Remove(const std::string &path);
    // The wall clock in nanoseconds: one clock for every process of the machine.
    static int64_t NowNs();

    // Makes this process's entry `path`, before it starts listening there; false when the
    // name is taken. POSIX: nothing to make (listening makes the socket). Windows: the
    // marker file, created new and held open.
    static bool Announce(const std::string &path);
    // Takes the entry away again, once the listener has stopped or failed to start. POSIX:
    // nothing (closing the server removes the socket). Windows: the marker is deleted.
    static void Withdraw(const std::string &path);
    // Whether a listener must admit only this user by itself because its endpoint lives
    // outside the folder (Windows named pipes); false where the folder keeps others out.
    static bool EndpointsOutsideFolder();
};
