#pragma once
// A character table the user loads (a .tbl file): byte sequences and the texts they stand
// for, the code of game data and of other programs' private encodings. TVxTableDecoder
// shows a document through it; TVxTextCodec turns texts into bytes with it.
//
// The file: UTF-8 (a BOM is allowed) when it is valid UTF-8, otherwise Shift-JIS (CP932).
// Lines end in LF or CRLF. Lines that are empty or blank, and lines beginning with '#', ';'
// or "//", are skipped. Every other line is an entry, HEX=text: HEX is 2 to 16 hex digits
// (an even number, either case) giving 1..kMaxBytes bytes, and text is the rest of the line
// after the first '=' (it may hold '=' and spaces; it must not be empty). A byte sequence
// may appear once; different sequences may share a text. At most kMaxEntries entries.
// A file that breaks any of this is refused whole, with TVxCharTableError saying what and
// on which line.
//
// Lookups: Match is the decoder's (the longest entry whose bytes begin at a position), at
// most log2(entries) comparisons for each length in use. Encode takes, from left to right,
// the longest text that begins at each position; where several entries share that text,
// the one earliest in the file gives the bytes. Greedy: a text that could be split only in
// another way is refused. Memory: the entries' bytes and texts plus 4 bytes per entry.
//
// Immutable after Parse, so one table may be shared between threads.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Why a table file was refused. The program words it for the user from Kind and Line.
class TVxCharTableError : public std::runtime_error {
public:
    enum class Kind {
        Unreadable, // the file cannot be read (Line 0)
        NoEntries,  // it holds no entry (Line 0)
        NotAnEntry, // a line that is neither skipped nor HEX=text
        BadHex,     // HEX is not 2..16 hex digits in pairs
        EmptyText,  // nothing after '='
        Duplicate,  // the byte sequence of an earlier line (Line is the later one)
        TooMany,    // the entry after the first kMaxEntries
    };

    TVxCharTableError(Kind problem, int line);

    Kind Problem;
    int Line; // 1-based; 0 for the whole file
};

class TVxCharTable {
public:
    static constexpr int kMaxBytes = 8;
    static constexpr size_t kMaxEntries = 65536;
    static constexpr int64_t kMaxFileSize = 64 << 20;

    // The table in a file's bytes; throws TVxCharTableError.
    static std::shared_ptr<const TVxCharTable> Parse(const std::string &fileBytes);
    // The table in the file at a UTF-8 path; throws TVxCharTableError (Unreadable for a file
    // that cannot be opened or read, is no regular file, or is larger than kMaxFileSize).
    static std::shared_ptr<const TVxCharTable> Load(const std::string &utf8Path);

    // The length of the longest entry whose bytes are a prefix of bytes[0..count), 0 if
    // none; *text (when text is not null) is then that entry's text.
    int Match(const uint8_t *bytes, int count, const std::u16string **text) const;
    // The bytes of text, as described above. False when no entry's text begins at some
    // position of what is left: bad is that (UTF-16) index, and bytes hold nothing useful.
    bool Encode(const std::u16string &text, std::string &bytes, size_t &bad) const;
    // The length of the longest byte sequence of the table.
    int MaxBytes() const { return FMaxBytes; }
    size_t Size() const { return FEntries.size(); }

private:
    struct TEntry {
        std::string Bytes;
        std::u16string Text;
        uint32_t Line; // order in the file, for the first of entries sharing a text
    };

    TVxCharTable() = default;
    void Add(std::string bytes, std::u16string text, int line);
    void Index();

    std::vector<TEntry> FEntries;   // by Bytes
    std::vector<uint32_t> FByText;  // indices into FEntries by Text, one per distinct text
    std::vector<size_t> FTextSizes; // the distinct text lengths, longest first
    uint32_t FByteSizes = 0;        // bit n - 1 set when some entry has n bytes
    int FMaxBytes = 0;
};
