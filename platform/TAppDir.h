#pragma once
// The program's directory, where the settings file lives.
//
// GetAppDir: the directory of the running executable when this user may write there;
// otherwise $XDG_CONFIG_HOME/hexcavator/ (when XDG_CONFIG_HOME is set and absolute) or
// ~/.config/hexcavator/, created on demand (mode 0700). Always ends with '/'.
//
// SettingsFileName: GetAppDir + "Hexcavat.ini", the one name of the settings file.
//
// Tests point both at a scratch folder with SetOverride, so they never touch the real file.

#include <string>

class TAppDir {
public:
    static std::string GetAppDir();
    static std::string SettingsFileName();
    // A non-empty dir replaces GetAppDir's answer (a trailing '/' is added); empty restores it.
    static void SetOverride(const std::string &dir);

    // The decision itself, for tests: exeDir as found, the two environment values (null when
    // unset) and whether exeDir is writable. Does not create anything.
    static std::string Choose(const std::string &exeDir, bool exeDirWritable, const char *xdgConfigHome,
                              const char *home);

    static constexpr const char *kSettingsFile = "Hexcavat.ini";
};
