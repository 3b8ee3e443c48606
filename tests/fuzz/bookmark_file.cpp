// The bookmarks file (TVxBookmarkFile). Whatever it holds, every bookmark read lies inside
// its file, every path is read once, and what is read writes back as it was read, with no
// damaged line; a record put in front reads back first.
#include "FuzzCheck.h"
#include "TVxBookmarkFile.h"

#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    TVxBookmarkFile file = TVxBookmarkFile::Parse(text);
    std::set<std::string> paths;
    FUZZ_CHECK(file.Records().size() <= TVxBookmarkFile::kMaxFiles);
    for (const TVxBookmarkRecord &r : file.Records()) {
        FUZZ_CHECK(!r.Path.empty() && paths.insert(r.Path).second);
        FUZZ_CHECK(r.Size >= 0 && r.Size <= INT32_MAX && !r.Marks.empty());
        for (const TVxBookmark &m : r.Marks)
            FUZZ_CHECK(m.Offset >= 0 && m.Length >= 1 && m.End() <= r.Size && m.Color <= 0xFFFFFF);
    }
    const auto same = [](const TVxBookmarkFile &a, const TVxBookmarkFile &b) {
        if (a.Records().size() != b.Records().size())
            return false;
        for (size_t i = 0; i < a.Records().size(); ++i) {
            const TVxBookmarkRecord &x = a.Records()[i], &y = b.Records()[i];
            if (x.Path != y.Path || x.Size != y.Size || x.MtimeNs != y.MtimeNs || !(x.Marks == y.Marks))
                return false;
        }
        return true;
    };
    const TVxBookmarkFile back = TVxBookmarkFile::Parse(file.Serialize());
    FUZZ_CHECK(back.DamagedLines() == 0 && same(back, file));

    // The text itself as a name and a path: any bytes survive the escapes.
    if (!text.empty() && text.size() < 256) {
        TVxBookmarkRecord r;
        r.Path = std::string(text);
        r.Size = 10;
        TVxBookmark m;
        m.Name = std::string(text);
        r.Marks.push_back(m);
        file.Put(r);
        const TVxBookmarkFile again = TVxBookmarkFile::Parse(file.Serialize());
        FUZZ_CHECK(again.DamagedLines() == 0 && !again.Records().empty());
        FUZZ_CHECK(again.Records().front().Path == r.Path && again.Records().front().Marks.at(0).Name == m.Name);
    }
    return 0;
}
