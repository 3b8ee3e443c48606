#pragma once
// The settings file: a small INI reader and writer with the semantics of the Windows
// profile functions, so values written by one version read back the same in any other.
//
//  - "[Section]" lines open sections, "key=value" lines hold values; blanks around names
//    and values are ignored; section and key names compare without regard to (ASCII) case;
//    the first section or key of a name wins when a file holds it twice.
//  - Reading strips one pair of enclosing double quotes, so a value written as "\" a \""
//    keeps its blanks. A missing file, section or key gives the caller's default.
//  - Writing replaces the key's line or adds one at the end of its section (the section at
//    the end of the file); every other line - sections, keys, comments, blank lines - stays
//    where it was. A write creates the file. Values are cut at a line break, which the
//    format cannot hold; a write under a name that could not be read back (TIniText::
//    Writable: an empty key, a key with "=" or starting with "[" or ";", a line break, a
//    section with "]") is ignored. Deleting a key or section removes every copy of it.
//  - Text is UTF-8, kept byte for byte; a byte-order mark and every line's own line end
//    (LF, CR LF or a lone CR) are kept.
//
// Whatever the file holds, reading never fails, throws or takes more than linear time:
// binary bytes, NUL bytes and invalid UTF-8 are just bytes; a line without "=" is no key, one
// starting with "=" neither; "[" without "]" opens a section named by the rest of the line;
// a number out of the 32-bit range is unreadable (TStrToInt) and gives the default. A file
// that cannot be read - no permission, not a regular file (a FIFO would block), more than
// kMaxFileSize bytes - reads as empty, and writes to it fail and leave it alone rather than
// replace it by this object's changes alone.
//
// Lifetime: the constructor reads the file once; reads answer from memory. Writes change
// the memory at once and reach the disk at UpdateFile or destruction, in one piece: under
// an exclusive lock (TLockFile, "NAME.lock" beside the file, held only for this), the file
// is read again, this object's changes are replayed over it in their order (so another
// instance's changes to other keys survive, even when both write at the same moment), and
// the result is written to a new file that is synced and renamed over the old one. A crash
// therefore leaves the old file or the new one, never a truncated one. Write errors are not
// reported by the destructor (UpdateFile returns false), as the profile functions do not
// report them either; a failed UpdateFile keeps the changes for the next attempt.
//
// Who calls: the settings load and save, the find and replace histories, the recent-files
// list; the file itself is TAppDir::SettingsFileName().

#include "TIniText.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class TIniFile {
public:
    // Larger files are not settings files: see above.
    static constexpr size_t kMaxFileSize = 8 << 20;

    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const std::string &FileName() const { return FFileName; }

    std::string ReadString(const std::string &section, const std::string &key, const std::string &def) const;
    // Decimal, or hexadecimal after "$" or "0x" (TStrToInt); unreadable or missing: def.
    int32_t ReadInteger(const std::string &section, const std::string &key, int32_t def) const;
    // Any non-zero integer is true.
    bool ReadBool(const std::string &section, const std::string &key, bool def) const;
    bool SectionExists(const std::string &section) const;
    bool ValueExists(const std::string &section, const std::string &key) const;
    // Key names of the section, in file order.
    std::vector<std::string> ReadSection(const std::string &section) const;
    // Keys with their values (quotes stripped), in file order, each key once with the value
    // ReadString gives. Linear in the section: the way to read a whole section.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string &section) const;
    std::vector<std::string> ReadSections() const;

    void WriteString(const std::string &section, const std::string &key, const std::string &value);
    void WriteInteger(const std::string &section, const std::string &key, int32_t value);
    // Written "1" or "0".
    void WriteBool(const std::string &section, const std::string &key, bool value);
    void DeleteKey(const std::string &section, const std::string &key);
    void EraseSection(const std::string &section);

    // A change of one section worked out from the section as it stands when it is written:
    // `edit` gets the section's keys and values (as ReadSectionValues gives them) and returns
    // the keys to write, written as by WriteString. It runs now on this object's view and
    // once more under the lock on the file as read again, so a read-modify-write (the
    // recent-files list) is never undone by an instance that wrote in between.
    using TValues = std::vector<std::pair<std::string, std::string>>;
    void EditSection(const std::string &section, std::function<TValues(const TValues &current)> edit);

    // Writes the pending changes; true when there were none or they are on disk. Waits at
    // most the lock wait for another instance's write; false when that runs out.
    bool UpdateFile();

    // Test seam: the lock wait in milliseconds (5000 unless changed).
    static void SetLockWait(int milliseconds);

private:
    enum class TLoad { Missing, Read, Unreadable };
    enum class TOpKind { Write, DeleteKey, EraseSection, EditSection };
    struct TOp {
        TOpKind Kind;
        std::string Section, Key, Value;
        std::function<TValues(const TValues &)> Edit;
    };

    static TLoad Load(const std::string &fileName, TIniText &text);
    static void Apply(TIniText &text, const TOp &op);
    void Change(TOp op);

    std::string FFileName;
    TIniText FModel;
    std::vector<TOp> FPending;
};
