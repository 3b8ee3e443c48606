#include "TVxBookmarkStore.h"

#include "TDirHandle.h"
#include "TFileHandle.h"
#include "TFileMeta.h"
#include "TFilePaths.h"
#include "TLockFile.h"
#include "TTempFile.h"

#include <cerrno>
#include <system_error>

namespace {
// As long as the settings file's writers wait: an instance hung with the lock must not
// freeze the others.
constexpr int kLockWaitMs = 5000;
} // namespace

TVxBookmarkStore::TRead TVxBookmarkStore::Read() const
{
    TRead read;
    try {
        TFileHandle file = TFileHandle::OpenRead(FFileName);
        std::optional<std::string> text;
        if (file.Kind() == TFileHandle::TKind::Regular)
            text = file.ReadAll(kMaxFileSize);
        if (text)
            read.File = TVxBookmarkFile::Parse(*text);
        else
            read.Unreadable = true;
    } catch (const std::system_error &e) {
        read.Unreadable = e.code().value() != ENOENT;
    } catch (const std::exception &) {
        read.Unreadable = true;
    }
    return read;
}

bool TVxBookmarkStore::Put(const TVxBookmarkRecord &record, bool userChange)
{
    const std::string target = TFilePaths::ResolveLinks(FFileName);
    TDirHandle dir = TDirHandle::Open(TFilePaths::DirName(target));
    const std::string name = TFilePaths::BaseName(target);
    TLockFile lock = TLockFile::Acquire(dir, name + ".lock", TFilePaths::NewFileMode(), kLockWaitMs);

    TRead now = Read();
    if (now.Unreadable || (now.Damaged() && !userChange))
        return false;
    const TVxBookmarkRecord *old = now.File.Find(record.Path);
    if (!old && record.Marks.empty())
        return false; // nothing to forget: the file is not touched
    now.File.Put(record);
    const std::string text = now.File.Serialize();

    TTempFile out = TTempFile::CreateIn(dir, 0600);
    out.Handle().WriteAt(0, text.data(), text.size());
    if (!TFileMeta::ApplyModeOf(target, out.Handle()))
        out.Handle().Fail("fchmod");
    out.Handle().Sync();
    out.LinkAs(dir, name);
    dir.Sync();
    return true;
}
