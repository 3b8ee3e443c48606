// The settings file: the profile semantics (names without case, quotes stripped, defaults),
// what a write keeps of the rest of the file, changes of two writers to one file, and where
// the file lives.

#include "TAppDir.h"
#include "TIniFile.h"
#include "TFileFaults.h"
#include "TestSupport.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>


TEST(IniFileTest, ReadsWithProfileSemantics)
{
    TScratchDir dir;
    const std::string f = dir.File("a.ini");
    WriteText(f, "; comment\r\n"
                 "[Find]\r\n"
                 "  Current = \"  two blanks \" \r\n"
                 "IgnoreCase=1\r\n"
                 "Half=\"open\r\n"
                 "Inner=a \"b\" c\r\n"
                 "current=second wins nothing\r\n"
                 "[ Settings ]\r\n"
                 "FontSize=14\r\n"
                 "Colour=$FFEECC\r\n"
                 "Bad=12x\r\n"
                 "Empty=\r\n");
    TIniFile ini(f);
    EXPECT_EQ(ini.ReadString("find", "CURRENT", "-"), "  two blanks ");
    EXPECT_EQ(ini.ReadString("Find", "Half", "-"), "\"open");
    EXPECT_EQ(ini.ReadString("Find", "Inner", "-"), "a \"b\" c");
    EXPECT_TRUE(ini.ReadBool("Find", "IgnoreCase", false));
    EXPECT_EQ(ini.ReadInteger("SETTINGS", "FontSize", 0), 14);
    EXPECT_EQ(ini.ReadInteger("Settings", "Colour", 0), 0xFFEECC);
    EXPECT_EQ(ini.ReadInteger("Settings", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadString("Settings", "Empty", "-"), "");
    EXPECT_EQ(ini.ReadString("Settings", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Nowhere", "Current", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadSection("Find"), (std::vector<std::string>{"Current", "IgnoreCase", "Half", "Inner"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Find", "Settings"}));

    TIniFile none(dir.File("missing.ini"));
    EXPECT_EQ(none.ReadInteger("Settings", "FontSize", 14), 14);
    EXPECT_FALSE(none.SectionExists("Settings"));
}

TEST(IniFileTest, WritesKeepEverythingElse)
{
    TScratchDir dir;
    const std::string f = dir.File("b.ini");
    WriteText(f, "; kept comment\n"
                 "[Placement]\n"
                 "Position=1,2,3,4\n"
                 "\n"
                 "[Find]\n"
                 "Current=\"old\"\n"
                 "; trailing comment of Find\n"
                 "\n"
                 "[MRUList]\n"
                 "0=/a\n");
    {
        TIniFile ini(f);
        ini.WriteString("FIND", "current", "\" new \"");
        ini.WriteBool("Find", "FromTop", true);
        ini.WriteInteger("Print", "TopMargin", 10);
        ini.EraseSection("mrulist");
        ini.DeleteKey("Placement", "Nothing");
        EXPECT_EQ(ini.ReadString("Find", "Current", ""), " new ") << "reads see the writes at once";
    }
    EXPECT_EQ(ReadText(f), "; kept comment\n"
                           "[Placement]\n"
                           "Position=1,2,3,4\n"
                           "\n"
                           "[Find]\n"
                           "current=\" new \"\n"
                           "FromTop=1\n"
                           "; trailing comment of Find\n"
                           "\n"
                           "[Print]\n"
                           "TopMargin=10\n");
    // A value cannot carry a line break into the file.
    {
        TIniFile ini(f);
        ini.WriteString("Find", "Current", "line\nInjected=1");
    }
    TIniFile ini(f);
    EXPECT_EQ(ini.ReadString("Find", "Current", ""), "line");
    EXPECT_FALSE(ini.ValueExists("Find", "Injected"));
}

TEST(IniFileTest, AWriteCreatesTheFileAndKeepsLineEndsAndMode)
{
    TScratchDir dir;
    const std::string f = dir.File("new.ini");
    {
        TIniFile ini(f);
        ini.WriteString("Settings", "JumpAddres", "$00000");
    }
    EXPECT_EQ(ReadText(f), "[Settings]\nJumpAddres=$00000\n");

    const std::string g = dir.File("crlf.ini");
    WriteText(g, "\xEF\xBB\xBF[A]\r\nk=v\r\n");
#ifndef _WIN32 // Windows has no mode bits: the replace keeps the file's permissions itself
    ::chmod(g.c_str(), 0640);
#endif
    {
        TIniFile ini(g);
        ini.WriteString("A", "j", "w");
    }
    EXPECT_EQ(ReadText(g), "\xEF\xBB\xBF[A]\r\nk=v\r\nj=w\r\n");
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(::stat(g.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    // Nothing written: the file is not rewritten at all.
    {
        TIniFile ini(g);
        (void)ini.ReadString("A", "k", "");
    }
    EXPECT_EQ(ReadText(g), "\xEF\xBB\xBF[A]\r\nk=v\r\nj=w\r\n");
}

TEST(IniFileTest, TwoWritersKeepEachOthersKeys)
{
    // Two instances hold the file open at once; each one's save keeps the other's changes
    // to other keys.
    TScratchDir dir;
    const std::string f = dir.File("c.ini");
    TIniFile first(f), second(f);
    first.WriteString("MRUList", "0", "/one");
    second.WriteString("FindStrings", "0", "\"needle\"");
    EXPECT_TRUE(first.UpdateFile());
    EXPECT_TRUE(second.UpdateFile());
    TIniFile check(f);
    EXPECT_EQ(check.ReadString("MRUList", "0", ""), "/one");
    EXPECT_EQ(check.ReadString("FindStrings", "0", ""), "needle");
}

TEST(IniFileTest, AnEditedSectionIsWorkedOutAgainFromWhatAnotherWriterLeft)
{
    // Two instances put a file on top of the same list at the same moment: the later write
    // builds on the earlier one instead of overwriting its key.
    TScratchDir dir;
    const std::string f = dir.File("d.ini");
    auto pushFront = [](const std::string &entry) {
        return [entry](const TIniFile::TValues &current) {
            TIniFile::TValues out{{"0", entry}};
            for (const auto &kv : current)
                out.emplace_back(std::to_string(out.size()), kv.second);
            return out;
        };
    };
    TIniFile first(f), second(f);
    first.EditSection("MRUList", pushFront("/one"));
    second.EditSection("MRUList", pushFront("/two\nthree"));
    second.EditSection("MRUList", [](const TIniFile::TValues &) { return TIniFile::TValues{{"=bad", "x"}}; });
    EXPECT_TRUE(first.UpdateFile());
    EXPECT_TRUE(second.UpdateFile());
    const TIniFile check(f);
    EXPECT_EQ(check.ReadSectionValues("MRUList"), (TIniFile::TValues{{"0", "/two"}, {"1", "/one"}}));
}

TEST(IniFileTest, AFailedWriteLeavesTheOldFile)
{
    TScratchDir dir;
    const std::string f = dir.File("d.ini");
    WriteText(f, "[A]\nk=old\n");
    TIniFile ini(f);
    ini.WriteString("A", "k", "new");
    int failures = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 20);
        TFileFaults::Reset();
        TFileFaults::FailNthWrite(n, ENOSPC);
        const bool written = ini.UpdateFile();
        TFileFaults::Reset();
        if (written)
            break;
        ++failures;
        EXPECT_EQ(ReadText(f), "[A]\nk=old\n") << n;
        // No half-written temporary left beside the settings file.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << n;
    }
    EXPECT_GE(failures, 2); // the write and the sync of the new file
    EXPECT_EQ(ReadText(f), "[A]\nk=new\n");
}

#ifndef _WIN32 // the POSIX locations; Windows has its own in WindowsDesktopTest
TEST(AppDirTest, ExecutableDirectoryWhenWritableElseTheUsersConfigFolder)
{
    EXPECT_EQ(TAppDir::Choose("/home/u/hx", true, "/x/cfg", "/home/u"), "/home/u/hx/");
    EXPECT_EQ(TAppDir::Choose("/usr/bin/", false, "/x/cfg", "/home/u"), "/x/cfg/hexcavator/");
    EXPECT_EQ(TAppDir::Choose("/usr/bin", false, "relative", "/home/u"), "/home/u/.config/hexcavator/");
    EXPECT_EQ(TAppDir::Choose("/usr/bin", false, nullptr, "/home/u/"), "/home/u/.config/hexcavator/");
    EXPECT_EQ(TAppDir::Choose("", true, nullptr, "/h"), "/h/.config/hexcavator/");

    TScratchDir dir;
    TAppDir::SetOverride(dir.Path());
    EXPECT_EQ(TAppDir::SettingsFileName(), dir.Path() + "/Hexcavat.ini");
    TAppDir::SetOverride("");
    const std::string real = TAppDir::GetAppDir();
    EXPECT_EQ(real.back(), '/');
    EXPECT_NE(real, dir.Path() + "/");
}

// A program installed in a system folder keeps its settings in the user's folder even when
// the folder is writable (run as root), so no file lands where no package owns it.
TEST(AppDirTest, AnInstalledProgramUsesTheConfigFolderEvenAsRoot)
{
    for (const char *installed : {"/usr/bin/", "/usr/local/bin/", "/opt/hexcavator/bin/", "/usr", "/opt/"}) {
        EXPECT_EQ(TAppDir::Choose(installed, true, nullptr, "/root"), "/root/.config/hexcavator/") << installed;
        EXPECT_EQ(TAppDir::Choose(installed, true, "/x/cfg", "/root"), "/x/cfg/hexcavator/") << installed;
    }
    // Only whole leading components count: a build folder or a look-alike stays beside.
    for (const char *own : {"/home/u/hexcavator/build/app/", "/home/u/usr/bin/", "/usrlocal/bin/", "/opt2/hx/"})
        EXPECT_EQ(TAppDir::Choose(own, true, nullptr, "/root"), own) << own;
}
#endif
