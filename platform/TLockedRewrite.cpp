#include "TLockedRewrite.h"

#include "TDirHandle.h"
#include "TFileHandle.h"
#include "TFileMeta.h"
#include "TFilePaths.h"
#include "TLockFile.h"
#include "TTempFile.h"

bool TLockedRewrite::Run(const std::string &fileName, int lockWaitMs,
                         const std::function<std::optional<std::string>(const std::string &target)> &rewrite)
{
    const std::string target = TFilePaths::ResolveLinks(fileName);
    TDirHandle dir = TDirHandle::Open(TFilePaths::DirName(target));
    const std::string name = TFilePaths::BaseName(target);
    TLockFile lock = TLockFile::Acquire(dir, name + ".lock", TFilePaths::NewFileMode(), lockWaitMs);

    const std::optional<std::string> text = rewrite(target);
    if (!text)
        return false;
    TTempFile out = TTempFile::CreateIn(dir, 0600);
    out.Handle().WriteAt(0, text->data(), text->size());
    if (!TFileMeta::ApplyModeOf(target, out.Handle()))
        out.Handle().Fail("fchmod");
    out.Handle().Sync();
    out.LinkAs(dir, name);
    dir.Sync();
    return true;
}
