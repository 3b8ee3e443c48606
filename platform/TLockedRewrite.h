#pragma once
// A small file shared by running instances (the settings file, the bookmarks file) rewritten
// as a whole: under an exclusive lock (TLockFile, "NAME.lock" beside it), the caller reads the
// file afresh and says what it is to become, and the text goes to a new file that gets the
// old one's permissions, is synced and renamed over the old one, and the folder synced. A
// crash leaves the old file or the new, and nobody writes from a copy that is out of date.
//
// Links are followed: the file a link leads to is rewritten, the link stays.
//
// Errors: std::system_error from the lock or the write (ETIMEDOUT when the lock stayed held
// longer than `lockWaitMs`); whatever `rewrite` throws passes through. Who calls: TIniFile,
// the engine's bookmarks store.

#include <functional>
#include <optional>
#include <string>

class TLockedRewrite {
public:
    // `rewrite` gets the path of the file (links resolved) and returns its new text, or
    // nothing to leave it as it is. True when the file was written.
    static bool Run(const std::string &fileName, int lockWaitMs,
                    const std::function<std::optional<std::string>(const std::string &target)> &rewrite);
};
