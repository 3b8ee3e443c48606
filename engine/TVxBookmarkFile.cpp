#include "TVxBookmarkFile.h"

#include "TStrToInt.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <unordered_set>

namespace {
constexpr std::string_view kHeader = "# Hexcavator bookmarks 1";

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> out;
    for (;;) {
        const size_t tab = line.find('\t');
        out.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return out;
        line.remove_prefix(tab + 1);
    }
}

std::optional<int64_t> Number(std::string_view s, int64_t max, int base = 10)
{
    if (s.empty() || s.size() > 19)
        return std::nullopt;
    int64_t v = 0;
    for (char c : s) {
        const int d = TStrToInt::HexDigit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        if (v > (std::numeric_limits<int64_t>::max() - d) / base)
            return std::nullopt;
        v = v * base + d;
    }
    if (v > max)
        return std::nullopt;
    return v;
}

std::optional<std::string> Unescape(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size())
            return std::nullopt;
        switch (s[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

void Escape(const std::string &s, std::string &out)
{
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}
} // namespace

TVxBookmarkFile TVxBookmarkFile::Parse(std::string_view text)
{
    TVxBookmarkFile file;
    std::unordered_set<std::string> seen;
    TVxBookmarkRecord *current = nullptr; // null after a damaged file line: its bookmarks go too
    bool inDamagedRecord = false;
    auto endRecord = [&] {
        if (current && current->Marks.empty())
            file.FRecords.pop_back();
        current = nullptr;
    };
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string_view> f = Fields(line);
        if (f[0] == "F" && f.size() == 4) {
            endRecord();
            const auto size = Number(f[1], std::numeric_limits<int32_t>::max());
            // A file may be dated before 1970.
            const bool early = !f[2].empty() && f[2][0] == '-';
            auto mtime = Number(early ? f[2].substr(1) : f[2], std::numeric_limits<int64_t>::max());
            if (mtime && early)
                mtime = -*mtime;
            auto path = Unescape(f[3]);
            if (size && mtime && path && !path->empty() && file.FRecords.size() < kMaxFiles && seen.insert(*path).second) {
                file.FRecords.push_back(TVxBookmarkRecord{std::move(*path), *size, *mtime, {}});
                current = &file.FRecords.back();
                inDamagedRecord = false;
            } else {
                ++file.FDamaged;
                inDamagedRecord = true;
            }
            continue;
        }
        if (f[0] == "B" && f.size() == 5 && current) {
            const auto offset = Number(f[1], current->Size - 1);
            const auto length = Number(f[2], current->Size);
            const auto color = Number(f[3], 0xFFFFFF, 16);
            auto name = Unescape(f[4]);
            if (offset && length && *length >= 1 && *offset + *length <= current->Size && color && f[3].size() == 6 &&
                name) {
                TVxBookmark m;
                m.Offset = static_cast<int32_t>(*offset);
                m.Length = static_cast<int32_t>(*length);
                m.Color = static_cast<uint32_t>(*color);
                m.Name = std::move(*name);
                current->Marks.push_back(std::move(m));
                continue;
            }
        }
        // A bookmark of a damaged file line is lost with it, but counted once, with its file.
        if (!(f[0] == "B" && inDamagedRecord))
            ++file.FDamaged;
    }
    endRecord();
    return file;
}

std::string TVxBookmarkFile::Serialize() const
{
    std::string out(kHeader);
    out += '\n';
    char number[64];
    for (const TVxBookmarkRecord &r : FRecords) {
        std::snprintf(number, sizeof number, "F\t%lld\t%lld\t", static_cast<long long>(r.Size),
                      static_cast<long long>(r.MtimeNs));
        out += number;
        Escape(r.Path, out);
        out += '\n';
        for (const TVxBookmark &m : r.Marks) {
            std::snprintf(number, sizeof number, "B\t%d\t%d\t%06X\t", m.Offset, m.Length, m.Color & 0xFFFFFFu);
            out += number;
            Escape(m.Name, out);
            out += '\n';
        }
    }
    return out;
}

const TVxBookmarkRecord *TVxBookmarkFile::Find(const std::string &path) const
{
    for (const TVxBookmarkRecord &r : FRecords)
        if (r.Path == path)
            return &r;
    return nullptr;
}

void TVxBookmarkFile::Put(TVxBookmarkRecord record)
{
    FRecords.erase(std::remove_if(FRecords.begin(), FRecords.end(),
                                  [&](const TVxBookmarkRecord &r) { return r.Path == record.Path; }),
                   FRecords.end());
    // What could not be read back is not written.
    record.Marks.erase(std::remove_if(record.Marks.begin(), record.Marks.end(),
                                      [&](const TVxBookmark &m) {
                                          return m.Offset < 0 || m.Length < 1 || m.End() > record.Size;
                                      }),
                       record.Marks.end());
    for (TVxBookmark &m : record.Marks) {
        m.Id = 0;
        m.Color &= 0xFFFFFFu;
    }
    if (record.Marks.empty() || record.Path.empty() || record.Size < 0 ||
        record.Size > std::numeric_limits<int32_t>::max() || record.MtimeNs == std::numeric_limits<int64_t>::min())
        return;
    FRecords.insert(FRecords.begin(), std::move(record));
    if (FRecords.size() > kMaxFiles)
        FRecords.resize(kMaxFiles);
}
