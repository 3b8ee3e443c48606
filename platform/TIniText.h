#pragma once
// The text of a settings file in memory: its lines as the file holds them, which of them open
// sections or hold keys, and the changes a write makes. TIniFile reads files into it and
// writes it back; the format's rules are the ones listed in TIniFile.h.
//
// Any bytes make a text - NUL bytes, invalid UTF-8, megabyte lines, no line end at all - and
// every line keeps its bytes and its own line end (LF, CR LF or a lone CR), so a change
// rewrites only the lines it touches. Lookups go through an index of first occurrences
// (TNameIndex), built on first use after a change that moved lines: reading n keys of a
// text of N lines costs O(N + n), never O(N * n).
//
// Who calls: TIniFile only.

#include "TNameIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TIniText {
public:
    TIniText() = default;
    // The lines of a file's bytes; a leading UTF-8 byte-order mark is kept apart.
    explicit TIniText(std::string bytes);

    // The bytes to write back: the byte-order mark if there was one, then every line with
    // its own line end. Added lines, and a last line that had none, end as the first line
    // does (LF when no line had an end).
    std::string Serialize() const;

    // The value of the first key of that name in the first section of that name, trimmed,
    // with one pair of enclosing double quotes stripped. Points into this text: valid until
    // the next change.
    std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Every key of the section once, with the value Value gives, in file order.
    std::vector<std::pair<std::string, std::string>> SectionValues(std::string_view section) const;
    // Every section name once, in file order.
    std::vector<std::string> Sections() const;

    // Whether a write under these names would read back under them: after trimming, the
    // key is not empty, starts with neither "[" nor ";" and holds no "="; neither holds a
    // line break, nor the section a "]".
    static bool Writable(std::string_view section, std::string_view key);
    // Replaces the key's line (keeping its line end) or adds one after the section's last
    // key; a missing section is added at the end, after a blank line. `value` must be one
    // line and the names Writable.
    void Write(std::string_view section, std::string_view key, std::string_view value);
    // Every line of the key in the section, so that no duplicate shows through afterwards.
    void DeleteKey(std::string_view section, std::string_view key);
    // Every section of the name, for the same reason.
    void EraseSection(std::string_view section);

    // Test seam: index lookups and name comparisons since the program started, so that a
    // test can show that reading grows linearly with the file.
    static uint64_t LookupCount();

private:
    enum class TKind : uint8_t { Other, Section, Key };
    enum class TEol : uint8_t { None, Lf, CrLf, Cr };
    struct TLine {
        size_t Offset = 0; // of the line's bytes in FText, without the line end
        size_t Length = 0;
        TKind Kind = TKind::Other;
        TEol Eol = TEol::None;
    };
    struct TParsed {
        TKind Kind = TKind::Other;
        std::string_view Name;  // trimmed
        std::string_view Value; // trimmed, quotes kept
    };

    static TParsed Parse(std::string_view text);
    std::string_view TextOf(const TLine &line) const { return std::string_view(FText).substr(line.Offset, line.Length); }
    TParsed ParsedOf(int index) const { return Parse(TextOf(FLines[size_t(index)])); }
    // A new line holding `text`, its bytes appended to FText; not yet placed.
    TLine NewLine(const std::string &text);
    int FindSection(std::string_view section) const;
    int FindKey(int header, std::string_view key) const;
    int SectionEnd(int header) const;
    void Reindex() const;

    std::string FText; // the file's bytes, then those of every line made since
    std::vector<TLine> FLines;
    bool FBom = false;
    TEol FStyle = TEol::Lf;
    mutable TNameIndex FIndex;
    mutable bool FIndexed = false; // false after a change that moved lines
};
