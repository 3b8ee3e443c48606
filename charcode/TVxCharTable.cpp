#include "TVxCharTable.h"

#include "TCodePageText.h"
#include "TFileHandle.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

namespace {
const char *KindName(TVxCharTableError::Kind kind)
{
    switch (kind) {
    case TVxCharTableError::Kind::Unreadable: return "unreadable";
    case TVxCharTableError::Kind::NoEntries: return "no entries";
    case TVxCharTableError::Kind::NotAnEntry: return "not an entry";
    case TVxCharTableError::Kind::BadHex: return "bad hex";
    case TVxCharTableError::Kind::EmptyText: return "empty text";
    case TVxCharTableError::Kind::Duplicate: return "duplicate bytes";
    case TVxCharTableError::Kind::TooMany: return "too many entries";
    }
    return "?";
}

// Strict UTF-8 (no overlong forms, surrogates or code points beyond U+10FFFF) to UTF-16;
// false at the first byte that breaks it, since such a file is taken as Shift-JIS instead.
bool FromUtf8(const std::string &in, std::u16string &out)
{
    out.clear();
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        const uint8_t b = uint8_t(in[i]);
        int extra;
        char32_t c, min;
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, c = b & 0x1F, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, c = b & 0x0F, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, c = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (in.size() - i <= size_t(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const uint8_t t = uint8_t(in[i + size_t(k)]);
            if ((t & 0xC0) != 0x80)
                return false;
            c = c << 6 | (t & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += size_t(extra) + 1;
    }
    return true;
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool IsSkipped(std::u16string_view line)
{
    if (line.find_first_not_of(u" \t") == std::u16string_view::npos)
        return true;
    return line[0] == u'#' || line[0] == u';' || line.substr(0, 2) == u"//";
}

// The bytes HEX spells, or false.
bool ParseHex(std::u16string_view hex, std::string &bytes)
{
    if (hex.empty() || hex.size() % 2 != 0 || hex.size() > size_t(2 * TVxCharTable::kMaxBytes))
        return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes += char(hi << 4 | lo);
    }
    return true;
}

std::string_view View(const std::string &s) { return s; }
} // namespace

TVxCharTableError::TVxCharTableError(Kind problem, int line)
    : std::runtime_error(std::string("character table: ") + KindName(problem) + " at line " + std::to_string(line)),
      Problem(problem), Line(line)
{
}

std::shared_ptr<const TVxCharTable> TVxCharTable::Parse(const std::string &fileBytes)
{
    std::u16string text;
    if (!FromUtf8(fileBytes, text))
        text = TCodePageText::Decode(TCodePageText::TCode::ShiftJis, fileBytes);
    else if (!text.empty() && text[0] == 0xFEFF)
        text.erase(0, 1);

    std::shared_ptr<TVxCharTable> table(new TVxCharTable);
    std::unordered_set<std::string> seen;
    std::string bytes;
    int lineNo = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find(u'\n', pos);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        if (IsSkipped(line))
            continue;
        const size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos)
            throw TVxCharTableError(TVxCharTableError::Kind::NotAnEntry, lineNo);
        if (!ParseHex(line.substr(0, eq), bytes))
            throw TVxCharTableError(TVxCharTableError::Kind::BadHex, lineNo);
        if (eq + 1 == line.size())
            throw TVxCharTableError(TVxCharTableError::Kind::EmptyText, lineNo);
        if (!seen.insert(bytes).second)
            throw TVxCharTableError(TVxCharTableError::Kind::Duplicate, lineNo);
        if (table->FEntries.size() == kMaxEntries)
            throw TVxCharTableError(TVxCharTableError::Kind::TooMany, lineNo);
        table->FEntries.push_back({bytes, std::u16string(line.substr(eq + 1)), uint32_t(lineNo)});
    }
    if (table->FEntries.empty())
        throw TVxCharTableError(TVxCharTableError::Kind::NoEntries, 0);
    table->Index();
    return table;
}

std::shared_ptr<const TVxCharTable> TVxCharTable::Load(const std::string &utf8Path)
{
    std::string bytes;
    try {
        const TFileHandle file = TFileHandle::OpenRead(utf8Path);
        if (file.Kind() != TFileHandle::TKind::Regular)
            throw TVxCharTableError(TVxCharTableError::Kind::Unreadable, 0);
        std::optional<std::string> all = file.ReadAll(size_t(kMaxFileSize));
        if (!all)
            throw TVxCharTableError(TVxCharTableError::Kind::Unreadable, 0);
        bytes = std::move(*all);
    } catch (const TVxCharTableError &) {
        throw;
    } catch (const std::exception &) {
        throw TVxCharTableError(TVxCharTableError::Kind::Unreadable, 0);
    }
    return Parse(bytes);
}

void TVxCharTable::Index()
{
    std::sort(FEntries.begin(), FEntries.end(), [](const TEntry &a, const TEntry &b) { return a.Bytes < b.Bytes; });
    for (const TEntry &e : FEntries) {
        FByteSizes |= 1u << (e.Bytes.size() - 1);
        FMaxBytes = std::max(FMaxBytes, int(e.Bytes.size()));
        FTextSizes.push_back(e.Text.size());
    }
    std::sort(FTextSizes.begin(), FTextSizes.end(), std::greater<size_t>());
    FTextSizes.erase(std::unique(FTextSizes.begin(), FTextSizes.end()), FTextSizes.end());

    FByText.resize(FEntries.size());
    for (uint32_t i = 0; i < FByText.size(); ++i)
        FByText[i] = i;
    std::sort(FByText.begin(), FByText.end(), [this](uint32_t a, uint32_t b) {
        const TEntry &x = FEntries[a], &y = FEntries[b];
        return x.Text != y.Text ? x.Text < y.Text : x.Line < y.Line;
    });
    FByText.erase(std::unique(FByText.begin(), FByText.end(),
                              [this](uint32_t a, uint32_t b) { return FEntries[a].Text == FEntries[b].Text; }),
                  FByText.end());
    FByText.shrink_to_fit();
}

int TVxCharTable::Match(const uint8_t *bytes, int count, const std::u16string **text) const
{
    for (int n = std::min(count, FMaxBytes); n >= 1; --n) {
        if (!(FByteSizes & (1u << (n - 1))))
            continue;
        const std::string_view key(reinterpret_cast<const char *>(bytes), size_t(n));
        const auto it = std::lower_bound(FEntries.begin(), FEntries.end(), key,
                                         [](const TEntry &e, std::string_view k) { return View(e.Bytes) < k; });
        if (it != FEntries.end() && View(it->Bytes) == key) {
            if (text)
                *text = &it->Text;
            return n;
        }
    }
    return 0;
}

bool TVxCharTable::Encode(const std::u16string &text, std::string &bytes, size_t &bad) const
{
    bytes.clear();
    const std::u16string_view all(text);
    for (size_t pos = 0; pos < text.size();) {
        const TEntry *found = nullptr;
        for (size_t n : FTextSizes) {
            if (n > text.size() - pos)
                continue;
            const std::u16string_view key = all.substr(pos, n);
            const auto it = std::lower_bound(FByText.begin(), FByText.end(), key, [this](uint32_t e, std::u16string_view k) {
                return std::u16string_view(FEntries[e].Text) < k;
            });
            if (it != FByText.end() && std::u16string_view(FEntries[*it].Text) == key) {
                found = &FEntries[*it];
                break;
            }
        }
        if (!found) {
            bad = pos;
            return false;
        }
        bytes += found->Bytes;
        pos += found->Text.size();
    }
    return true;
}
