#include "TVxBookmarkStore.h"

#include "TFileHandle.h"
#include "TLockedRewrite.h"

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
    return TLockedRewrite::Run(FFileName, kLockWaitMs, [&](const std::string &) {
        std::optional<std::string> text;
        TRead now = Read();
        if (now.Unreadable || (now.Damaged() && !userChange))
            return text;
        if (!now.File.Find(record.Path) && record.Marks.empty())
            return text; // nothing to forget: the file is not touched
        now.File.Put(record);
        text = now.File.Serialize();
        return text;
    });
}
