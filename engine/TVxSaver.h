#pragma once
// One save of a document to a file, done so that the file stays what it was and a failure
// or a crash never costs the previous contents.
//
// The usual way: a new file in the target's folder (unnamed until the last step), filled
// from the working copy and its window, given the old file's owner, group, permission bits
// and extended attributes (ACLs included), flushed to disk; then the backup generations
// are rotated, the newest made as a second link to the old file so that the target's name
// never goes missing; then the new file is renamed over the target. A failure before the
// rename leaves the target untouched; a crash leaves nothing but the target (the new file,
// linked into the folder just before the rename, under TTempFile::PendingName, is removed by
// the next load: RecoverPatch).
//
// In place, instead, when a new file would change what the file is: it has more than one
// link, its owner or group cannot be given to a new file, its attributes cannot all be
// copied, or its folder takes no new file. The newest backup generation is then a copy.
// The bytes are written into the existing file through a journal beside it that holds its
// previous contents (TVxPatchJournal::Overwrite): a failed write is rolled back from it, and
// after a crash the next load puts the previous contents back. Where the folder takes no
// journal the previous contents go first to the backup copy or, without backups, a keepsake
// in the private temporary folder (TTempFile::CreateKeepsake); a failed write is rolled back
// from that copy, after a crash the copy is still on disk, and the keepsake is deleted only
// after a successful save.
//
// A file that can neither be written in place nor replaced by a new file in its folder
// fails. One that cannot be written in place but whose folder takes a new file is replaced
// by a new file of the saving user, without setuid and setgid bits.
//
// A patch save writes only the ranges the document changed, through a journal beside the
// file (WritePatch); the document chooses it when that is all a save needs to do.
//
// Every name is resolved against the folder's open handle: a symbolic link planted in place
// of the target after Found() was taken is replaced, never followed.
//
// Who calls: TVxDocument's WriteToFile and SaveToFile.

#include "TDirHandle.h"
#include "TFileIdentity.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TFileMeta;
class TTempFile;
class TVxWorkCopy;

class TVxSaver {
public:
    // Resolves the symbolic links of fileName (unless it is already the resolved target of
    // an earlier load or save) and opens the folder of the file they lead to; throws when
    // that folder cannot be opened.
    explicit TVxSaver(const std::string &fileName, bool followLinks = true);

    // What the target's name holds right now (not following a final symbolic link).
    const TFileIdentity &Found() const { return FFound; }
    const std::string &Target() const { return FTarget; }

    // Writes the document. `backups` generations are kept (0: none); when one cannot be
    // made, goOnWithoutBackup decides whether the save goes on (false: Write returns false
    // and nothing was written). Throws on failure.
    bool Write(const TVxWorkCopy &work, int32_t backups, const std::function<bool()> &goOnWithoutBackup);

    // Writes only the changed ranges into the file, in place and crash-safely (see
    // TVxPatchJournal). False, with nothing written, when the file is no longer the one
    // found, has another size than the document, cannot be opened for writing, or its folder
    // takes no journal: the caller then saves with Write. Throws when the write failed.
    bool WritePatch(const TVxWorkCopy &work, const std::vector<std::pair<int32_t, int32_t>> &ranges);
    // Puts back an interrupted patch or in-place write of fileName (before it is loaded), and
    // removes the new file an interrupted save left pending beside it; true when it put back.
    static bool RecoverPatch(const std::string &fileName);

    // The file as it is after a successful Write.
    const TFileIdentity &Written() const { return FWritten; }

private:
    bool WriteNew(TTempFile &out, const TVxWorkCopy &work, int32_t backups, const std::function<bool()> &goOn,
                  const TFileMeta *meta, bool ownerKept);
    bool WriteInPlace(TFileHandle &file, const TVxWorkCopy &work, int32_t backups, const std::function<bool()> &goOn,
                      const TFileMeta &meta);
    // The newest of `backups` generations as a copy of the file's oldSize bytes, into
    // `copy`; false when it could not be made.
    bool BackUpByCopy(const TFileHandle &file, int64_t oldSize, int32_t backups, const TFileMeta &meta,
                      TTempFile &copy);
    // A copy of the file's oldSize bytes in the private temporary folder; not open when
    // there was no room for it.
    TTempFile KeepsakeOf(const TFileHandle &file, int64_t oldSize) const;
    // Undoes a failed write in place: from `copy` (the previous contents) once bytes changed,
    // else by cutting off what the reservation added. A copy that cannot be put back is
    // kept, and a TVxError names it.
    void RollBack(TFileHandle &file, int64_t oldSize, int64_t newSize, TTempFile *copy,
                  const std::exception &failure) const;
    // Opens the target for writing in place when it is still the file found; a handle that
    // is not open (errno set) otherwise.
    TFileHandle OpenInPlace() const;

    TDirHandle FDir;
    std::string FTarget;
    std::string FBase;
    TFileIdentity FFound;
    TFileIdentity FWritten;
};
