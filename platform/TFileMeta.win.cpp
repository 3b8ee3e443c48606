#include "TFileMeta.h"
#include "TFileHandle.h"
#include "TWinError.h"

#include <windows.h>

TFileMeta TFileMeta::Capture(const TFileHandle &file)
{
    TFileMeta m;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file.Fd(), &info))
        TWinError::Throw("GetFileInformationByHandle");
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                      ::GetFileInformationByHandleEx(file.Fd(), FileAttributeTagInfo, &tag, sizeof tag) &&
                      IsReparseTagNameSurrogate(tag.ReparseTag);
    m.Regular = ::GetFileType(file.Fd()) == FILE_TYPE_DISK && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link;
    m.Links = info.nNumberOfLinks;
    // Owner, permissions (the ACL), attributes and alternate streams pass to the new file in
    // the replacing rename itself (ReplaceFileW): nothing to capture, nothing lost.
    m.XattrsComplete = true;
    return m;
}

bool TFileMeta::ApplyOwner(const TFileHandle &) const { return true; }

bool TFileMeta::ApplyMode(const TFileHandle &, bool) const { return true; }

bool TFileMeta::ApplyXattrs(const TFileHandle &) const { return true; }

// A file without a predecessor takes its folder's inherited permissions, as any new file does.
bool TFileMeta::ApplyNewFileMode(const TFileHandle &) { return true; }

bool TFileMeta::ApplyModeOf(const std::string &, const TFileHandle &) { return true; }
