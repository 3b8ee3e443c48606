// A ".desktop" file handed to the program as a shortcut (TShellPaths::ResolveShortcut): the
// input is the file. Its answer is the file itself, nothing, or an absolute local path; and a
// link to a path made from the input leads back to that path.
#include "FuzzCheck.h"
#include "TShellPaths.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string link = FuzzScratch() + "/link.desktop";
    FuzzWriteFile(link, bytes);
    const std::string target = TShellPaths::ResolveShortcut(link);
    if (target != link && !target.empty()) {
        FUZZ_CHECK(target[0] == '/');
        // A path holding a zero byte names no file the system could open.
        FUZZ_CHECK(target.find('\0') == std::string::npos);
    }

    // The input's bytes as a path, every byte escaped, behind the local host.
    std::string path = "/", url = "file:///";
    for (char c : bytes.substr(0, 200))
        if (c != '\0' && c != '/') {
            char esc[4];
            std::snprintf(esc, sizeof esc, "%%%02x", static_cast<unsigned char>(c));
            path += c;
            url += esc;
        }
    FuzzWriteFile(link, "[Desktop Entry]\nType=Link\nURL=" + url + "\n");
    FUZZ_CHECK(TShellPaths::ResolveShortcut(link) == path);
    return 0;
}
