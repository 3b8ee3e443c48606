#include "TVxError.h"

#include <utility>

TVxError::TVxError(TVxErrorKind kind, std::string path, std::string reason, std::string other)
    : std::runtime_error(Describe(kind, path, reason, other)), FKind(kind), FPath(std::move(path)),
      FReason(std::move(reason)), FOther(std::move(other))
{
}

// Logs and test failures only: the user reads the program's own words for the kind.
std::string TVxError::Describe(TVxErrorKind kind, const std::string &path, const std::string &reason,
                               const std::string &other)
{
    std::string text;
    switch (kind) {
    case TVxErrorKind::EditTooLarge: text = "the edit would exceed 2147483647 bytes"; break;
    case TVxErrorKind::OpenNotRegular: text = "not a regular file, not opened"; break;
    case TVxErrorKind::OpenTooLarge: text = "larger than 2147483647 bytes, not opened"; break;
    case TVxErrorKind::SaveNotRegular: text = "not a regular file, not saved"; break;
    case TVxErrorKind::SaveFailedCopyKept: text = "save failed and was not undone; previous contents in " + other; break;
    case TVxErrorKind::PatchNotRolledBack: text = "save failed and was not undone; the next load undoes it"; break;
    case TVxErrorKind::JournalNotApplied: text = "an interrupted save cannot be undone"; break;
    case TVxErrorKind::TextNotEncodable: text = "the character " + other + " has no bytes in this code"; break;
    }
    if (!reason.empty())
        text += ": " + reason;
    return path.empty() ? text : path + ": " + text;
}
