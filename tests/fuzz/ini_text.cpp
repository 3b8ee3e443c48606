// The settings file's text (TIniText) and its reader (TIniFile): any bytes load, come back
// byte for byte, and a write reads back without disturbing the other sections.
#include "FuzzCheck.h"
#include "TIniFile.h"
#include "TIniText.h"

#include <map>
#include <string>
#include <strings.h>

namespace {
using TView = std::map<std::string, std::vector<std::pair<std::string, std::string>>>;

// Every section but `except` (compared without case) with its keys and values.
TView ViewOf(const TIniText &t, const std::string &except)
{
    TView v;
    for (const std::string &s : t.Sections()) {
        FUZZ_CHECK(t.HasSection(s));
        if (strcasecmp(s.c_str(), except.c_str()) != 0 || s.size() != except.size())
            v[s] = t.SectionValues(s);
    }
    return v;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    TIniText text(bytes);
    // Byte for byte, but for the line end a last line without one gets.
    const std::string out = text.Serialize();
    FUZZ_CHECK(out.compare(0, bytes.size(), bytes) == 0);
    const std::string added = out.substr(bytes.size());
    const bool open = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r' && bytes != "\xEF\xBB\xBF";
    FUZZ_CHECK(open ? added == "\n" || added == "\r\n" || added == "\r" : added.empty());

    const std::string section = "Fuzz", key = "Key", value = "value " + std::to_string(size);
    const TView before = ViewOf(text, section);
    for (const auto &[name, values] : before)
        for (const auto &[k, v] : values) {
            const auto read = text.Value(name, k);
            FUZZ_CHECK(read && *read == v);
        }

    // What the file reader gives is what the text holds.
    const std::string path = FuzzScratch() + "/settings.ini";
    FuzzWriteFile(path, bytes);
    {
        const TIniFile ini(path);
        FUZZ_CHECK(ini.ReadSections() == text.Sections());
        for (const auto &[name, values] : before)
            FUZZ_CHECK(ini.ReadSectionValues(name) == values);
    }
    FUZZ_CHECK(FuzzReadFile(path) == bytes); // reading never writes

    // A write reads back, also from the text written out, and changes no other section.
    text.Write(section, key, value);
    FUZZ_CHECK(text.Value(section, key) == std::optional<std::string_view>(value));
    const TIniText reread(text.Serialize());
    FUZZ_CHECK(reread.Value(section, key) == std::optional<std::string_view>(value));
    FUZZ_CHECK(ViewOf(reread, section) == before);

    TIniText erased(text.Serialize());
    erased.DeleteKey(section, key);
    FUZZ_CHECK(!erased.Value(section, key));
    erased.EraseSection(section);
    FUZZ_CHECK(!erased.HasSection(section));
    FUZZ_CHECK(ViewOf(TIniText(erased.Serialize()), section) == before);
    return 0;
}
