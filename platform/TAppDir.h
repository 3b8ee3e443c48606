#pragma once
// The program's directory, where the settings file lives.
//
// GetAppDir: the directory of the running executable when this user may write there (and,
// on POSIX, the program is not installed in a system folder: /usr, /usr/local, /opt and
// below belong to the package manager or the administrator, and a settings file written
// there by root would be owned by no package); otherwise the user's configuration folder for
// the program, created on demand:
//   POSIX    $XDG_CONFIG_HOME/hexcavator/ (when XDG_CONFIG_HOME is set and absolute), else
//            ~/.config/hexcavator/ (new levels mode 0700).
//   Windows  %APPDATA%\hexcavator\ (the roaming application data of the user's profile, from
//            the APPDATA variable when it is absolute, else the known folder); it inherits the
//            profile's ACL, which admits only the user, SYSTEM and the administrators.
//            Whether the executable's folder is writable is found by creating a file there,
//            which also tells the truth about ACLs and read-only media.
// Always ends with '/'; on Windows every separator is '/', as everywhere in the program.
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

    // The decision itself, for tests: exeDir as found (absolute; on POSIX one in a system
    // folder is passed over even when writable), whether it is writable, and two values from
    // the environment (null when unset): POSIX XDG_CONFIG_HOME and HOME; Windows APPDATA and
    // USERPROFILE (whose AppData/Roaming stands in when APPDATA is not absolute). Creates
    // nothing.
    static std::string Choose(const std::string &exeDir, bool exeDirWritable, const char *configHome,
                              const char *home);

    static constexpr const char *kSettingsFile = "Hexcavat.ini";

private:
    // GetAppDir without the override: the system's answer, created when it is not exeDir.
    static std::string SystemAppDir();
    static std::string WithSlash(std::string dir);
};
