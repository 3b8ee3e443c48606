// The file-manager entries: written where the desktop looks, running the program the way a
// user's several chosen files need, and gone again when unregistered.

#include "TDesktopIntegration.h"
#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Text(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct DesktopIntegrationTest : ::testing::Test {
    TScratchDir dir;
    std::string old;
    bool hadOld = false;
    void SetUp() override
    {
        const char *o = std::getenv("XDG_DATA_HOME");
        hadOld = o != nullptr;
        old = o ? o : "";
        ::setenv("XDG_DATA_HOME", dir.File("share").c_str(), 1);
    }
    void TearDown() override
    {
        if (hadOld)
            ::setenv("XDG_DATA_HOME", old.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    std::string Share(const std::string &rel) const { return dir.File("share/" + rel); }
};
} // namespace

TEST_F(DesktopIntegrationTest, RegisterWritesEveryEntryAfreshAndUnregisterRemovesThem)
{
    EXPECT_FALSE(TDesktopIntegration::IsRegistered());
    TDesktopIntegration::Register("/opt/hex cavator/bin/hexcavator");
    EXPECT_TRUE(TDesktopIntegration::IsRegistered());
    const std::string menu = TDesktopIntegration::kMenuText;
    const std::string nautilus = Share("nautilus/scripts/" + menu);
    for (const std::string &f : {Share("applications/hexcavator-open.desktop"), Share("kio/servicemenus/hexcavator.desktop"),
                                 Share("nemo/actions/hexcavator.nemo_action"), Share("hexcavator/open-selection.sh"), nautilus})
        EXPECT_EQ(::access(f.c_str(), R_OK), 0) << f;
    EXPECT_NE(Text(Share("applications/hexcavator-open.desktop")).find("Exec=\"/opt/hex cavator/bin/hexcavator\" %F"),
              std::string::npos);
    EXPECT_NE(Text(Share("kio/servicemenus/hexcavator.desktop")).find("Name=" + menu), std::string::npos);
    EXPECT_NE(Text(Share("nemo/actions/hexcavator.nemo_action")).find("Name=" + menu), std::string::npos);
    EXPECT_EQ(::access(nautilus.c_str(), X_OK), 0);
    EXPECT_EQ(::access(Share("hexcavator/open-selection.sh").c_str(), X_OK), 0);

    WriteFileBytes(Share("kio/servicemenus/hexcavator.desktop"), {'x'});
    ::unlink(Share("nemo/actions/hexcavator.nemo_action").c_str());
    TDesktopIntegration::Register("/usr/bin/hexcavator");
    EXPECT_NE(Text(Share("kio/servicemenus/hexcavator.desktop")).find("Name=" + menu), std::string::npos);
    EXPECT_EQ(::access(Share("nemo/actions/hexcavator.nemo_action").c_str(), R_OK), 0);

    TDesktopIntegration::Unregister();
    EXPECT_FALSE(TDesktopIntegration::IsRegistered());
    EXPECT_NE(::access(nautilus.c_str(), F_OK), 0);
    EXPECT_NE(::access(Share("hexcavator/open-selection.sh").c_str(), F_OK), 0);
}

TEST_F(DesktopIntegrationTest, SeveralChosenFilesReachTheProgramAsAListFile)
{
    // A stand-in program that records how it was started.
    const std::string program = dir.File("fake-program");
    const std::string record = dir.File("record.txt");
    {
        std::ofstream p(program);
        p << "#!/bin/sh\n{ for a in \"$@\"; do echo \"arg:$a\"; done; if [ \"$1\" = /SE ]; then cat \"$2\"; fi; } > '"
          << record << "'\n";
    }
    ::chmod(program.c_str(), 0755);
    TDesktopIntegration::Register(program);
    const std::string script = Share("hexcavator/open-selection.sh");
    const std::string cmd = "'" + script + "' '" + dir.File("a b.bin") + "' '" + dir.File("c.bin") + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string got = Text(record);
    EXPECT_EQ(got.rfind("arg:/SE\n", 0), 0u) << got;
    EXPECT_NE(got.find(dir.File("a b.bin") + "\n" + dir.File("c.bin") + "\n"), std::string::npos) << got;

    // A name with a line break cannot be a line of a list: plain arguments instead.
    const std::string odd = dir.File("odd\nname.bin");
    ASSERT_EQ(std::system(("'" + script + "' '" + odd + "'").c_str()), 0);
    EXPECT_EQ(Text(record), "arg:" + odd + "\n");
}
