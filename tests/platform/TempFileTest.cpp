// Temporary names: never shared, never opening or truncating something already there.

#include "TTempFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

TEST(TempFileTest, NamesAreEightHexDigitsAndNeverRepeat)
{
    TScratchDir dir;
    std::set<std::string> names;
    std::vector<TTempFile> files;
    for (int i = 0; i < 20; ++i) {
        files.push_back(TTempFile::Create(dir.Path()));
        const std::string &n = files.back().Name();
        std::string base = n.substr(n.find_last_of('/') + 1);
        ASSERT_EQ(base.size(), 12u);
        EXPECT_EQ(base.substr(8), ".tmp");
        EXPECT_EQ(base.find_first_not_of("0123456789ABCDEF"), 8u);
        EXPECT_TRUE(names.insert(n).second) << n;
    }
}

TEST(TempFileTest, ExistingFilesAndPlantedLinksAreNeverOpened)
{
    TScratchDir dir;
    std::string victim = dir.File("victim");
    WriteFileBytes(victim, {1, 2, 3});
    std::string taken = dir.File("0000ABCD.tmp");
    WriteFileBytes(taken, {9, 9});
    EXPECT_THROW(TTempFile::CreateTempFile(taken), std::system_error);
    EXPECT_EQ(ReadFileBytes(taken), (std::vector<uint8_t>{9, 9}));

    std::string link = dir.File("0000ABCE.tmp");
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    try {
        TTempFile::CreateTempFile(link);
        FAIL() << "followed a planted symlink";
    } catch (const std::system_error &e) {
        EXPECT_EQ(e.code().value(), EEXIST);
    }
    EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(TempFileTest, RemovedOnDestructionUnlessKept)
{
    TScratchDir dir;
    std::string gone, kept;
    {
        TTempFile a = TTempFile::Create(dir.Path());
        TTempFile b = TTempFile::Create(dir.Path());
        gone = a.Name();
        kept = b.Name();
        b.Keep();
        struct stat st;
        ASSERT_EQ(::stat(gone.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    EXPECT_NE(::access(gone.c_str(), F_OK), 0);
    EXPECT_EQ(::access(kept.c_str(), F_OK), 0);
}
