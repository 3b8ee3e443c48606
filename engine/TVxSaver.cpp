#include "TVxSaver.h"

#include "TFileCopy.h"
#include "TFileHandle.h"
#include "TFileMeta.h"
#include "TFilePaths.h"
#include "TTempFile.h"
#include "TVxBackup.h"
#include "TVxError.h"
#include "TVxPatchJournal.h"
#include "TVxWorkCopy.h"

#include <cerrno>
#include <memory>
#include <system_error>

namespace {
// The folder refuses a new file, or the file refuses a writer.
bool Denied(int err) { return err == EACCES || err == EPERM || err == EROFS; }

[[noreturn]] void Fail(const std::string &path) { throw std::system_error(errno, std::generic_category(), path); }
} // namespace

TVxSaver::TVxSaver(const std::string &fileName, bool followLinks)
    : FTarget(followLinks ? TFilePaths::ResolveLinks(fileName) : fileName), FBase(TFilePaths::BaseName(FTarget))
{
    FDir = TDirHandle::Open(TFilePaths::DirName(FTarget));
    FFound = TFileIdentity::OfEntry(FDir, FBase);
}

TFileHandle TVxSaver::OpenInPlace() const
{
    TFileHandle file = FDir.OpenAt(FBase, TDirHandle::TAccess::ReadWrite);
    if (file.IsOpen() && !TFileIdentity::Of(file).SameFile(FFound)) {
        file.Close();
        errno = TFileIdentity::kReplaced;
    }
    file.SetPath(FTarget);
    return file;
}

bool TVxSaver::Write(const TVxWorkCopy &work, int32_t backups, const std::function<bool()> &goOn)
{
    // What the file is now; an unreadable file cannot lend its attributes, and is replaced
    // like a new one.
    std::unique_ptr<TFileMeta> meta;
    if (FFound.Exists && !FFound.IsLink) {
        const TFileHandle old = FDir.OpenAt(FBase, TDirHandle::TAccess::Read);
        if (old.IsOpen()) {
            meta = std::make_unique<TFileMeta>(TFileMeta::Capture(old));
            if (!meta->Regular)
                throw TVxError(TVxErrorKind::SaveNotRegular, FTarget);
        } else if (!Denied(errno)) {
            Fail(FTarget);
        }
    }

    bool inPlace = meta && (meta->Links > 1 || !meta->XattrsComplete);
    TTempFile out;
    bool ownerKept = true;
    if (!inPlace) {
        try {
            out = TTempFile::CreateIn(FDir, 0600);
            out.Handle().SetPath(FTarget);
        } catch (const std::system_error &e) {
            if (!meta || !Denied(e.code().value()))
                throw;
            inPlace = true;
        }
    }
    if (!inPlace && meta) {
        ownerKept = meta->ApplyOwner(out.Handle());
        inPlace = !ownerKept;
    }
    if (inPlace) {
        TFileHandle file = OpenInPlace();
        if (file.IsOpen())
            return WriteInPlace(file, work, backups, goOn, *meta);
        // Not writable where it is, but the folder takes a new file: the file becomes the
        // saving user's, and its setuid and setgid bits are not handed to that user.
        if (!out.IsOpen() || !Denied(errno))
            Fail(FTarget);
    }
    return WriteNew(out, work, backups, goOn, meta.get(), ownerKept);
}

bool TVxSaver::WriteNew(TTempFile &out, const TVxWorkCopy &work, int32_t backups, const std::function<bool()> &goOn,
                        const TFileMeta *meta, bool ownerKept)
{
    TFileHandle &f = out.Handle();
    work.CopyTo(f);
    // Bits and attributes after the bytes: a write by a non-superuser clears setuid and
    // setgid, and any write drops file capabilities.
    const bool bits = meta ? meta->ApplyMode(f, ownerKept) : TFileMeta::ApplyNewFileMode(f);
    if (!bits)
        f.Fail("fchmod");
    if (meta && !meta->ApplyXattrs(f)) {
        // An attribute the new file cannot carry: keep the old file and write into it.
        TFileHandle file = OpenInPlace();
        if (file.IsOpen()) {
            out.Remove();
            return WriteInPlace(file, work, backups, goOn, *meta);
        }
    }
    f.Sync();
    if (backups > 0 && FFound.Exists) {
        const bool made = TVxBackup::MakeBackup(FDir, FBase, backups, [this](const std::string &gen) {
            return FDir.LinkAt(FBase, gen) || FDir.RenameAt(FBase, gen);
        });
        if (!made && !(goOn && goOn()))
            return false;
    }
    out.LinkAs(FDir, FBase);
    FDir.Sync();
    FWritten = TFileIdentity::Of(f);
    return true;
}

bool TVxSaver::WriteInPlace(TFileHandle &file, const TVxWorkCopy &work, int32_t backups,
                            const std::function<bool()> &goOn, const TFileMeta &meta)
{
    const int64_t oldSize = file.Length();
    // The previous contents, complete and on disk before the first byte of the file changes.
    TTempFile copy;
    bool backedUp = false;
    if (backups > 0) {
        backedUp = BackUpByCopy(file, oldSize, backups, meta, copy);
        if (!backedUp && !(goOn && goOn()))
            return false;
    }
    // Through a journal a crash at any moment leaves the file old or new once it is loaded
    // again; a copy elsewhere would leave it torn until the user put the copy back.
    if (TVxPatchJournal::Overwrite(FDir, FBase, file, work)) {
        FWritten = TFileIdentity::Of(file);
        return true;
    }
    if (!backedUp)
        copy = KeepsakeOf(file, oldSize);

    const int64_t newSize = work.FileSize();
    bool touched = false;
    try {
        // A full disk fails here, before any byte changed.
        if (newSize > oldSize)
            file.Reserve(oldSize, newSize - oldSize);
        touched = true;
        work.CopyTo(file);
        file.SetLength(newSize);
        file.Sync();
    } catch (const std::exception &e) {
        RollBack(file, oldSize, newSize, touched ? &copy : nullptr, e);
        if (!backedUp)
            copy.Remove();
        throw;
    }
    if (!backedUp)
        copy.Remove();
    FWritten = TFileIdentity::Of(file);
    return true;
}

bool TVxSaver::BackUpByCopy(const TFileHandle &file, int64_t oldSize, int32_t backups, const TFileMeta &meta,
                            TTempFile &copy)
{
    // The file stays where it is, so the newest generation is a copy dressed like it.
    return TVxBackup::MakeBackup(FDir, FBase, backups, [&](const std::string &gen) {
        try {
            TTempFile g = TTempFile::CreateIn(FDir, 0600);
            TFileCopy::Copy(file, 0, g.Handle(), 0, oldSize);
            const bool ownerKept = meta.ApplyOwner(g.Handle());
            meta.ApplyMode(g.Handle(), ownerKept);
            meta.ApplyXattrs(g.Handle());
            g.Handle().Sync();
            g.LinkAs(FDir, gen);
            copy = std::move(g);
            return true;
        } catch (const std::exception &) {
            return false;
        }
    });
}

TTempFile TVxSaver::KeepsakeOf(const TFileHandle &file, int64_t oldSize) const
{
    TTempFile copy;
    try {
        copy = TTempFile::CreateKeepsake(FBase);
        TFileCopy::Copy(file, 0, copy.Handle(), 0, oldSize);
        copy.Handle().Sync();
    } catch (const std::exception &) {
        // No room for a keepsake: the save goes on without a way back, as the user
        // asked for it; the document itself is still intact if the write fails.
        copy.Remove();
    }
    return copy;
}

void TVxSaver::RollBack(TFileHandle &file, int64_t oldSize, int64_t newSize, TTempFile *copy,
                        const std::exception &failure) const
{
    if (copy && copy->IsOpen()) {
        try {
            TFileCopy::Copy(copy->Handle(), 0, file, 0, oldSize);
            file.SetLength(oldSize);
            file.Sync();
        } catch (const std::exception &) {
            copy->Keep();
            throw TVxError(TVxErrorKind::SaveFailedCopyKept, FTarget, failure.what(), copy->Name());
        }
    } else if (newSize > oldSize) {
        file.TrySetLength(oldSize);
    }
}

bool TVxSaver::WritePatch(const TVxWorkCopy &work, const std::vector<std::pair<int32_t, int32_t>> &ranges)
{
    if (!FFound.Exists || FFound.IsLink)
        return false;
    TFileHandle file = OpenInPlace();
    if (!file.IsOpen())
        return false;
    if (file.Length() != work.FileSize() || !TVxPatchJournal::Patch(FDir, FBase, file, work, ranges))
        return false;
    FWritten = TFileIdentity::Of(file);
    return true;
}

bool TVxSaver::RecoverPatch(const std::string &fileName)
{
    const std::string target = TFilePaths::ResolveLinks(fileName);
    TDirHandle dir;
    try {
        dir = TDirHandle::Open(TFilePaths::DirName(target));
    } catch (const std::system_error &) {
        return false; // the load itself says why the file cannot be read
    }
    const std::string base = TFilePaths::BaseName(target);
    // A save killed between linking its new file into the folder and renaming it over the
    // target left the new file under this name; the target itself is whole.
    const std::string pending = TTempFile::PendingName(base);
    if (TFileIdentity::OfEntry(dir, pending).Exists)
        dir.UnlinkAt(pending);
    return TVxPatchJournal::Recover(dir, base);
}
