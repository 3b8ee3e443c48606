#include "TIniText.h"

#include <algorithm>

namespace {
const char kBom[] = "\xEF\xBB\xBF";
uint64_t gLookups = 0;

std::string_view Trim(std::string_view s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos)
        return std::string_view();
    const size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    ++gLookups;
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.substr(1, v.size() - 2);
    return v;
}
} // namespace

uint64_t TIniText::LookupCount() { return gLookups; }

TIniText::TIniText(std::string bytes) : FText(std::move(bytes))
{
    size_t pos = 0;
    if (FText.compare(0, 3, kBom) == 0) {
        FBom = true;
        pos = 3;
    }
    const char *data = FText.data();
    const size_t n = FText.size();
    // One line per line end at most: reserving once keeps a file of a million blank lines
    // from copying its line table twenty times.
    FLines.reserve(size_t(std::count_if(data + pos, data + n, [](char c) { return c == '\n' || c == '\r'; })) + 1);
    while (pos < n) {
        size_t end = pos;
        while (end < n && data[end] != '\n' && data[end] != '\r')
            ++end;
        TLine line;
        line.Offset = pos;
        line.Length = end - pos;
        line.Kind = Parse(TextOf(line)).Kind;
        size_t eolLength = 0;
        if (end == n) {
            line.Eol = TEol::None;
        } else if (data[end] == '\n') {
            line.Eol = TEol::Lf;
            eolLength = 1;
        } else if (end + 1 < n && data[end + 1] == '\n') {
            line.Eol = TEol::CrLf;
            eolLength = 2;
        } else {
            line.Eol = TEol::Cr;
            eolLength = 1;
        }
        if (FLines.empty() && line.Eol != TEol::None)
            FStyle = line.Eol;
        FLines.push_back(line);
        if (end == n)
            break;
        pos = end + eolLength;
    }
}

TIniText::TParsed TIniText::Parse(std::string_view text)
{
    TParsed p;
    const std::string_view t = Trim(text);
    if (!t.empty() && t[0] == '[') {
        // Without "]" the rest of the line names the section: a typo does not hand the
        // keys below it to the section above.
        const size_t close = t.find(']');
        p.Kind = TKind::Section;
        p.Name = Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return p;
    }
    if (t.empty() || t[0] == ';')
        return p;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos || eq == 0)
        return p;
    p.Kind = TKind::Key;
    p.Name = Trim(t.substr(0, eq));
    p.Value = Trim(t.substr(eq + 1));
    return p;
}

std::string TIniText::Serialize() const
{
    static const char *const kEol[] = {"", "\n", "\r\n", "\r"};
    std::string out;
    out.reserve(FText.size() + FLines.size() + 3);
    if (FBom)
        out += kBom;
    for (const TLine &l : FLines) {
        out += TextOf(l);
        out += kEol[int(l.Eol == TEol::None ? FStyle : l.Eol)];
    }
    return out;
}

void TIniText::Reindex() const
{
    size_t names = 0;
    for (const TLine &l : FLines)
        names += l.Kind != TKind::Other;
    FIndex.Clear(names);
    // Keys before the first section, and those of a section that repeats an earlier name,
    // can never be read: they are left out.
    int group = -1;
    for (size_t i = 0; i < FLines.size(); ++i) {
        const TLine &l = FLines[i];
        if (l.Kind == TKind::Other)
            continue;
        const std::string_view name = Parse(TextOf(l)).Name;
        const auto same = [&](int32_t at) { return SameName(ParsedOf(at).Name, name); };
        ++gLookups;
        if (l.Kind == TKind::Section)
            group = FIndex.Add(TNameIndex::Hash(name, -1), -1, int32_t(i), same) == int32_t(i) ? int(i) : -1;
        else if (group >= 0)
            FIndex.Add(TNameIndex::Hash(name, group), group, int32_t(i), same);
    }
    FIndexed = true;
}

int TIniText::FindSection(std::string_view section) const
{
    if (!FIndexed)
        Reindex();
    const std::string_view name = Trim(section);
    ++gLookups;
    return FIndex.Find(TNameIndex::Hash(name, -1), -1,
                       [&](int32_t at) { return SameName(ParsedOf(at).Name, name); });
}

int TIniText::FindKey(int header, std::string_view key) const
{
    if (header < 0)
        return -1;
    if (!FIndexed)
        Reindex();
    const std::string_view name = Trim(key);
    ++gLookups;
    return FIndex.Find(TNameIndex::Hash(name, header), header,
                       [&](int32_t at) { return SameName(ParsedOf(at).Name, name); });
}

int TIniText::SectionEnd(int header) const
{
    size_t i = size_t(header) + 1;
    while (i < FLines.size() && FLines[i].Kind != TKind::Section)
        ++i;
    return int(i);
}

std::optional<std::string_view> TIniText::Value(std::string_view section, std::string_view key) const
{
    const int k = FindKey(FindSection(section), key);
    if (k < 0)
        return std::nullopt;
    return Unquote(ParsedOf(k).Value);
}

bool TIniText::HasSection(std::string_view section) const { return FindSection(section) >= 0; }

std::vector<std::pair<std::string, std::string>> TIniText::SectionValues(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    const int header = FindSection(section);
    if (header < 0)
        return out;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (FLines[size_t(i)].Kind != TKind::Key)
            continue;
        const TParsed p = ParsedOf(i);
        // A key that appears twice is listed once, with the value a read gives.
        if (FindKey(header, p.Name) == i)
            out.emplace_back(std::string(p.Name), std::string(Unquote(p.Value)));
    }
    return out;
}

std::vector<std::string> TIniText::Sections() const
{
    std::vector<std::string> out;
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].Kind != TKind::Section)
            continue;
        const std::string_view name = ParsedOf(int(i)).Name;
        if (FindSection(name) == int(i))
            out.emplace_back(name);
    }
    return out;
}

bool TIniText::Writable(std::string_view section, std::string_view key)
{
    const std::string_view s = Trim(section), k = Trim(key);
    return !k.empty() && k[0] != '[' && k[0] != ';' && k.find_first_of("=\r\n") == std::string_view::npos &&
           s.find_first_of("]\r\n") == std::string_view::npos;
}

TIniText::TLine TIniText::NewLine(const std::string &text)
{
    TLine line;
    line.Offset = FText.size();
    line.Length = text.size();
    line.Kind = Parse(text).Kind;
    line.Eol = FStyle;
    FText += text;
    return line;
}

void TIniText::Write(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string text = std::string(Trim(key)) + "=" + std::string(value);
    const int header = FindSection(section);
    if (header < 0) {
        if (!FLines.empty() && !Trim(TextOf(FLines.back())).empty())
            FLines.push_back(NewLine(std::string()));
        FLines.push_back(NewLine("[" + std::string(Trim(section)) + "]"));
        FLines.push_back(NewLine(text));
        FIndexed = false;
        return;
    }
    const int k = FindKey(header, key);
    if (k >= 0) {
        // Same name, same place: the index stays right.
        const TEol eol = FLines[size_t(k)].Eol;
        FLines[size_t(k)] = NewLine(text);
        FLines[size_t(k)].Eol = eol;
        return;
    }
    // After the section's last key, so blank lines and comments that end the section keep
    // separating it from the next one.
    int at = header;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (FLines[size_t(i)].Kind == TKind::Key)
            at = i;
    FLines.insert(FLines.begin() + at + 1, NewLine(text));
    FIndexed = false;
}

void TIniText::DeleteKey(std::string_view section, std::string_view key)
{
    const int header = FindSection(section);
    if (FindKey(header, key) < 0)
        return;
    const std::string_view name = Trim(key);
    const auto first = FLines.begin() + header + 1, last = FLines.begin() + SectionEnd(header);
    FLines.erase(std::remove_if(first, last,
                                [&](const TLine &l) {
                                    return l.Kind == TKind::Key && SameName(Parse(TextOf(l)).Name, name);
                                }),
                 last);
    FIndexed = false;
}

void TIniText::EraseSection(std::string_view section)
{
    if (FindSection(section) < 0)
        return;
    const std::string_view name = Trim(section);
    std::vector<TLine> kept;
    kept.reserve(FLines.size());
    bool erasing = false;
    for (const TLine &l : FLines) {
        if (l.Kind == TKind::Section)
            erasing = SameName(Parse(TextOf(l)).Name, name);
        if (!erasing)
            kept.push_back(l);
    }
    FLines.swap(kept);
    FIndexed = false;
}
