#pragma once
// Writing into a file in place so that a crash at any moment leaves the file with exactly its
// old or its new contents once it is opened again: a patch writes only the changed ranges,
// an overwrite the whole document (a file saved in place, whose length may change).
//
// Order of a patch or an overwrite:
//  1. the journal beside the file ("." + name + ".hxjournal") receives the file's identity
//     (device, inode, size), the size the write gives it, the ranges, the file's previous
//     bytes of them (an overwrite: all of them) and a checksum over all of that; it is
//     flushed, and so is the folder;
//  2. the new bytes are written into the file, which is flushed;
//  3. the journal is removed (and the folder flushed).
// A journal found beside a file (Recover, at every load) means step 2 may have been cut
// short: when it is complete and names this file (of its previous size or the new one), the
// previous bytes and length go back, the file is flushed and the journal removed. An
// incomplete journal (torn before step 1 ended) means the file was never touched; it is
// removed. A journal naming another file is left alone.
//
// Failure: a journal that cannot be written makes Patch return false with the file untouched
// (the caller saves the usual way). A failure in step 2 puts the previous bytes back from the
// journal before throwing; if even that fails, the journal stays for the next load.
//
// Cost: a patch reads and writes the changed bytes twice each, plus three fsyncs; nothing
// else of the file is read or written. An overwrite copies the whole previous file into the
// journal first. Memory: one 1 MiB buffer.
//
// Who calls: TVxSaver (Patch, Overwrite), TVxDocument::LoadFromFile (Recover).

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TDirHandle;
class TFileHandle;
class TVxWorkCopy;

class TVxPatchJournal {
public:
    using TRanges = std::vector<std::pair<int32_t, int32_t>>; // ascending [first, end)

    static std::string NameFor(const std::string &baseName);

    // `file` is the target opened for reading and writing, `work` the document (same size).
    static bool Patch(const TDirHandle &dir, const std::string &baseName, TFileHandle &file, const TVxWorkCopy &work,
                      const TRanges &ranges);
    // The whole document over the file, whatever their sizes; false as Patch. The file's
    // previous contents must fit a document.
    static bool Overwrite(const TDirHandle &dir, const std::string &baseName, TFileHandle &file,
                          const TVxWorkCopy &work);
    // True when an interrupted patch of dir/baseName was undone. Throws when a complete
    // journal exists but the previous bytes cannot be written back.
    static bool Recover(const TDirHandle &dir, const std::string &baseName);

private:
    // Steps 1 to 3 around `write`, which leaves the file newSize bytes long and flushed.
    static bool Journaled(const TDirHandle &dir, const std::string &baseName, TFileHandle &file,
                          const TRanges &ranges, int64_t newSize, const std::function<void()> &write);
    // Step 1: the journal `name`, complete and flushed with its folder; false, with no
    // journal left behind, when it cannot be written.
    static bool WriteJournal(const TDirHandle &dir, const std::string &name, const TFileHandle &file,
                             const TRanges &ranges, int64_t newSize);
    // After a failed step 2: the previous bytes back from the journal, which then goes.
    // When that fails too the journal stays for the next load, and a TVxError says so.
    static void UndoFromJournal(const TDirHandle &dir, const std::string &name, TFileHandle &file,
                                const std::exception &failure);
};
