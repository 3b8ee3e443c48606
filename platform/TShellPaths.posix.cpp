#include "TShellPaths.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
bool EndsWithNoCase(const std::string &s, const std::string &tail)
{
    if (s.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

std::string Trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string PercentDecode(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The URL of a Type=Link entry, or nullptr-like empty with `isLink` false.
std::string DesktopLinkTarget(const std::string &path, bool &isLink)
{
    isLink = false;
    std::ifstream in(path);
    std::string line, type, url;
    bool inEntry = false;
    for (int n = 0; n < 10000 && std::getline(in, line); ++n) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, eq));
        if (key == "Type")
            type = Trim(line.substr(eq + 1));
        else if (key == "URL")
            url = Trim(line.substr(eq + 1));
    }
    if (type != "Link")
        return std::string();
    isLink = true;
    if (url.rfind("file://", 0) != 0)
        return std::string();
    std::string rest = url.substr(7);
    // "file://host/path": only the local host counts.
    if (rest.rfind("localhost/", 0) == 0)
        rest = rest.substr(9);
    if (rest.empty() || rest[0] != '/')
        return std::string();
    // A zero byte, typed or escaped, would cut the path short where the system reads it, and
    // so open some other file than the link names.
    std::string local = PercentDecode(rest);
    return local.find('\0') == std::string::npos ? local : std::string();
}

std::string Normalise(const std::string &path)
{
    std::string abs = path;
    if (abs.empty() || abs[0] != '/') {
        std::vector<char> cwd(PATH_MAX + 1);
        if (!::getcwd(cwd.data(), cwd.size()))
            return path;
        abs = std::string(cwd.data()) + "/" + abs;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= abs.size()) {
        size_t j = abs.find('/', i);
        if (j == std::string::npos)
            j = abs.size();
        const std::string part = abs.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const std::string &p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}
} // namespace

std::string TShellPaths::ResolveShortcut(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char *real = ::realpath(path.c_str(), nullptr);
        if (!real)
            return path; // a dangling link: it names nothing, so nothing opens
        std::string target = real;
        std::free(real);
        return target;
    }
    if (EndsWithNoCase(path, ".desktop")) {
        bool isLink = false;
        std::string target = DesktopLinkTarget(path, isLink);
        if (isLink)
            return target;
    }
    return path;
}

std::string TShellPaths::ExpandLongPath(const std::string &path)
{
    struct stat st;
    if (path.empty() || ::lstat(path.c_str(), &st) != 0)
        return path;
    return Normalise(path);
}
