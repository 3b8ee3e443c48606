#pragma once
// The program's own error, typed: what failed (Kind) and the names and reasons it concerns,
// never words for a user. The program words it for the user (app/ui's TEngineMessages);
// what() is a plain technical text for logs and tests. System failures travel as
// std::system_error instead, carrying errno and the path.
//
// Who throws: TVxDocument, TVxSaver, TVxPatchJournal and the text codecs' callers. Who reads Kind and the parameters:
// the program, to choose its words; tests.

#include <stdexcept>
#include <string>

enum class TVxErrorKind {
    // An edit would take the document past TVxDocument::kMaxFileSize bytes.
    EditTooLarge,
    // Path is no regular file (a device, a pipe ...): it is not opened.
    OpenNotRegular,
    // Path holds more than TVxDocument::kMaxFileSize bytes: it is not opened.
    OpenTooLarge,
    // Path is no regular file: it is not saved over.
    SaveNotRegular,
    // Writing Path in place failed (Reason), and so did putting its previous bytes back;
    // they are kept in the file Other.
    SaveFailedCopyKept,
    // Writing the changed ranges of Path failed (Reason), and so did putting its previous
    // bytes back from the journal; the next load of Path does it.
    PatchNotRolledBack,
    // A complete journal of a save of Path that was cut short exists, but Path cannot be
    // opened to put its previous bytes back (Reason).
    JournalNotApplied,
    // A text to write or find holds the character Other (UTF-8), which the character code
    // Reason (its name, such as "EUC-JP") cannot carry: nothing was written or searched.
    TextNotEncodable,
};

class TVxError : public std::runtime_error {
public:
    explicit TVxError(TVxErrorKind kind, std::string path = {}, std::string reason = {}, std::string other = {});

    TVxErrorKind Kind() const { return FKind; }
    // The file concerned (empty when none is).
    const std::string &Path() const { return FPath; }
    // What the system said went wrong, when the failure came from it.
    const std::string &Reason() const { return FReason; }
    // A second file name (where previous bytes were kept).
    const std::string &Other() const { return FOther; }

private:
    static std::string Describe(TVxErrorKind kind, const std::string &path, const std::string &reason,
                                const std::string &other);

    TVxErrorKind FKind;
    std::string FPath;
    std::string FReason;
    std::string FOther;
};
