#include "TDesktopIntegration.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const char *const kFiles[] = {"applications/hexcavator-open.desktop", "kio/servicemenus/hexcavator.desktop",
                              "nemo/actions/hexcavator.nemo_action", "hexcavator/open-selection.sh"};

std::string NautilusScript() { return std::string("nautilus/scripts/") + TDesktopIntegration::kMenuText; }

// Single quotes for the shell: nothing inside is special but the quote itself.
std::string ShellQuoted(const std::string &s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Desktop-entry Exec quoting: double quotes, with \", \`, \$ and \\ escaped.
std::string ExecQuoted(const std::string &s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

void Write(const fs::path &path, const std::string &text, bool executable)
{
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    fs::remove(path, ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}
} // namespace

std::string TDesktopIntegration::DataHome()
{
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char *home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share";
}

bool TDesktopIntegration::IsRegistered()
{
    std::error_code ec;
    return fs::exists(fs::path(DataHome()) / kFiles[0], ec);
}

void TDesktopIntegration::Register(const std::string &program)
{
    const fs::path home = DataHome();
    const std::string script = (home / kFiles[3]).string();
    const std::string run = ExecQuoted(script) + " %F";
    Write(home / kFiles[3],
          "#!/bin/sh\n"
          "# Started by the file managers' \"" + std::string(kMenuText) + "\" with the chosen files.\n"
          "program=" + ShellQuoted(program) + "\n"
          "for f in \"$@\"; do\n"
          "  case \"$f\" in *'\n'*) exec \"$program\" \"$@\";; esac\n"
          "done\n"
          "list=$(mktemp \"${TMPDIR:-/tmp}/hexcavator-list.XXXXXXXX\") || exec \"$program\" \"$@\"\n"
          "printf '%s\\n' \"$@\" > \"$list\"\n"
          "\"$program\" /SE \"$list\"\n"
          "rm -f \"$list\"\n",
          true);
    Write(home / kFiles[0],
          "[Desktop Entry]\nType=Application\nName=へくすかばっと。\nExec=" + ExecQuoted(program) +
              " %F\nIcon=hexcavator\nNoDisplay=true\nMimeType=application/octet-stream;text/plain;\nTerminal=false\n",
          false);
    Write(home / kFiles[1],
          "[Desktop Entry]\nType=Service\nMimeType=all/allfiles;\nActions=hexcavatorOpen;\n"
          "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n\n[Desktop Action hexcavatorOpen]\nName=" +
              std::string(kMenuText) + "\nIcon=hexcavator\nExec=" + run + "\n",
          true);
    Write(home / kFiles[2],
          "[Nemo Action]\nName=" + std::string(kMenuText) + "\nComment=" + kMenuText + "\nExec=" + run +
              "\nIcon-Name=hexcavator\nSelection=Any\nExtensions=any;\n",
          false);
    Write(home / NautilusScript(),
          "#!/bin/sh\n# Nautilus passes the chosen files as arguments.\nexec " + ShellQuoted(script) + " \"$@\"\n",
          true);
}

void TDesktopIntegration::Unregister()
{
    const fs::path home = DataHome();
    std::error_code ec;
    for (const char *f : kFiles)
        fs::remove(home / f, ec);
    fs::remove(home / NautilusScript(), ec);
}
