// Saving against the real file system: the file keeps its owner, group, bits, attributes and
// links; a save by another user never hands over setuid bits; a failing or refused save
// leaves the target as it was; a file changed or swapped since it was opened is not
// overwritten without asking, and a link planted in its place is never followed.

#include "TFileFaults.h"
#include "TFileIdentity.h"
#include "TestSupport.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace {
#ifndef _WIN32
constexpr uid_t kNobody = 65534;

struct stat StatOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::string Xattr(const std::string &path, const char *name)
{
    char buf[256];
    ssize_t n = ::getxattr(path.c_str(), name, buf, sizeof buf);
    return n < 0 ? std::string("<none>") : std::string(buf, static_cast<size_t>(n));
}

// A POSIX access ACL in its extended-attribute form: user rw, user 1234 r, group r, mask r.
std::string AclBlob()
{
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const Entry entries[] = {{0x01, 6, 0xFFFFFFFFu}, {0x02, 4, 1234}, {0x04, 4, 0xFFFFFFFFu},
                             {0x10, 4, 0xFFFFFFFFu}, {0x20, 0, 0xFFFFFFFFu}};
    std::string blob(4, '\0');
    const uint32_t version = 2;
    std::memcpy(blob.data(), &version, 4);
    for (const Entry &e : entries)
        blob.append(reinterpret_cast<const char *>(&e), sizeof e);
    return blob;
}

// Runs `save` in a child process of user and group nobody, with a temporary folder of its own
// inside `tmpParent`; true when it reported success.
bool SavedAsNobody(const std::string &tmpParent, const std::function<bool()> &save)
{
    const std::string tmp = tmpParent + "/.nobody-tmp";
    if (::mkdir(tmp.c_str(), 0700) != 0 || ::chown(tmp.c_str(), kNobody, kNobody) != 0)
        return false;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        bool ok = false;
        try {
            ok = save();
        } catch (...) {
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

struct SaveSafetyTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    TRecordingHooks hooks;
    std::string file;

    void SetUp() override
    {
        hooks.Attach(doc);
        file = dir.File("image.bin");
        WriteFileBytes(file, {1, 2, 3, 4});
    }
    // Loads the file, changes its first byte to 0xEE and saves it.
    bool EditAndSave(TVxDocument &d, bool backups = false)
    {
        d.LoadFromFile(file);
        d.OverwriteByte(0, 0xEE, true);
        d.SaveBackup = backups;
        return d.SaveToFile(file, false);
    }
    static std::vector<uint8_t> Edited() { return {0xEE, 2, 3, 4}; }
};
} // namespace


TEST_F(SaveSafetyTest, HardLinksStayLinksAndTheBackupIsACopy)
{
    const std::string other = dir.File("other-name.bin");
    MakeHardLink(file, other);
    const uint64_t ino = FileNumber(file);
    ASSERT_TRUE(EditAndSave(doc, true)) << doc.LastWriteError();
    EXPECT_EQ(FileNumber(file), ino);
    EXPECT_EQ(LinkCount(file), 2u);
    EXPECT_EQ(ReadFileBytes(other), Edited());
    EXPECT_EQ(ReadFileBytes(dir.File("image.001.bin")), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_NE(FileNumber(dir.File("image.001.bin")), ino);
    // The history goes on: a second save rotates as usual.
    doc.OverwriteByte(1, 0xDD, true);
    ASSERT_TRUE(doc.SaveToFile(file, false));
    EXPECT_EQ(ReadFileBytes(other), (std::vector<uint8_t>{0xEE, 0xDD, 3, 4}));
    EXPECT_EQ(ReadFileBytes(dir.File("image.002.bin")), Edited());
}

TEST_F(SaveSafetyTest, FailedInPlaceWriteIsRolledBackAndLeavesNoKeepsake)
{
    TPrivateTempDir tmp;
    TNamedTempFiles named;
    TVxDocument d;
    MakeHardLink(file, dir.File("link.bin"));
    d.LoadFromFile(file);
    d.InsertBlock(2, Pattern(100000).data(), 100000, true, false);
    const size_t baseline = tmp.FileCount();
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 40);
        TFileFaults::FailNthWrite(n, EIO);
        const bool ok = d.SaveToFile(file, false);
        TFileFaults::Reset();
        if (ok)
            break;
        EXPECT_EQ(ReadFileBytes(file), (std::vector<uint8_t>{1, 2, 3, 4})) << "write " << n;
        EXPECT_EQ(LinkCount(file), 2u);
        EXPECT_EQ(tmp.FileCount(), baseline) << "keepsake left behind at write " << n;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("link.bin")), DocBytes(d));
    EXPECT_EQ(tmp.FileCount(), baseline);
}


TEST_F(SaveSafetyTest, FailingWriteWithBackupsLeavesTheTargetInPlace)
{
    doc.LoadFromFile(file);
    doc.SaveBackup = true;
    doc.InsertBlock(0, Pattern(300000).data(), 300000, true, false);
    const auto wanted = DocBytes(doc);
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 40);
        TFileFaults::FailNthWrite(n, ENOSPC);
        const bool ok = doc.SaveToFile(file, false);
        TFileFaults::Reset();
        if (ok)
            break;
        EXPECT_EQ(ReadFileBytes(file), (std::vector<uint8_t>{1, 2, 3, 4})) << "write " << n;
        EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"image.bin"})) << "write " << n;
    }
    EXPECT_EQ(ReadFileBytes(file), wanted);
    EXPECT_EQ(ReadFileBytes(dir.File("image.001.bin")), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(SaveSafetyTest, AFileChangedOnDiskIsNotOverwrittenWithoutAsking)
{
    doc.LoadFromFile(file);
    doc.OverwriteByte(0, 0xEE, true);
    // Another program replaces the file.
    const std::string theirs = dir.File("theirs.tmp");
    WriteFileBytes(theirs, {7, 7});
    RenamePath(theirs, file);

    hooks.Answer = false;
    EXPECT_FALSE(doc.SaveToFile(file, false));
    ASSERT_EQ(hooks.Questions.size(), 1u);
    EXPECT_EQ(hooks.Questions[0], "overwrite:" + file);
    EXPECT_TRUE(doc.LastWriteError().empty());
    EXPECT_EQ(ReadFileBytes(file), (std::vector<uint8_t>{7, 7}));
    EXPECT_TRUE(doc.Modified());

    hooks.Answer = true;
    EXPECT_TRUE(doc.SaveToFile(file, false));
    EXPECT_EQ(ReadFileBytes(file), Edited());
    // Our own save is the new reference: the next save does not ask.
    hooks.Questions.clear();
    doc.OverwriteByte(1, 0xDD, true);
    EXPECT_TRUE(doc.SaveToFile(file, false));
    EXPECT_TRUE(hooks.Questions.empty());

    // Deleted in the meantime: asked as well; Yes writes it anew.
    RemovePath(file);
    doc.OverwriteByte(2, 0xCC, true);
    EXPECT_TRUE(doc.SaveToFile(file, false));
    EXPECT_EQ(hooks.Questions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(file), (std::vector<uint8_t>{0xEE, 0xDD, 0xCC, 4}));
}

#ifndef _WIN32
// Owners, permission bits, extended attributes and symbolic links of POSIX systems (Windows
// hands the target's permissions, attributes and streams on in ReplaceFileW: see
// WindowsFilesTest).

TEST_F(SaveSafetyTest, OwnerGroupBitsAttributesAndAclSurvive)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file another owner";
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    if (::setxattr(file.c_str(), "user.origin", "camera", 6, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system: " << std::strerror(errno);
    const std::string acl = AclBlob();
    const bool withAcl = ::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    if (!withAcl)
        std::printf("ACL part skipped: %s\n", std::strerror(errno));
    const std::string aclBefore = Xattr(file, "system.posix_acl_access");
    const mode_t modeBefore = StatOf(file).st_mode & 07777;

    ASSERT_TRUE(EditAndSave(doc)) << doc.LastWriteError();
    EXPECT_EQ(ReadFileBytes(file), Edited());
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, modeBefore);
    EXPECT_EQ(Xattr(file, "user.origin"), "camera");
    if (withAcl) {
        EXPECT_EQ(Xattr(file, "system.posix_acl_access"), aclBefore);
    }
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"image.bin"}));
}

TEST_F(SaveSafetyTest, SetuidFileOfAnotherUserKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(file.c_str(), 06755), 0);
    ASSERT_TRUE(EditAndSave(doc));
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_uid, kNobody) << "a setuid file must never become the saving user's";
    EXPECT_EQ(st.st_mode & 07777, 06755u);
}

TEST_F(SaveSafetyTest, AnotherUsersFileInAFolderWithoutRoomIsWrittenInPlace)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a saver of another user";
    // The folder takes no new file from nobody; the file itself is writable.
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    const ino_t ino = StatOf(file).st_ino;
    EXPECT_TRUE(SavedAsNobody(dir.Path(), [&] {
        TVxDocument d;
        return EditAndSave(d);
    }));
    EXPECT_EQ(ReadFileBytes(file), Edited());
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_ino, ino);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"image.bin"}));
}

TEST_F(SaveSafetyTest, SetuidBitsNeverPassToTheSavingUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a saver of another user";
    // nobody cannot write root's setuid file, but may replace it in this open folder.
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(file.c_str(), 06755), 0);
    EXPECT_TRUE(SavedAsNobody(dir.Path(), [&] {
        TVxDocument d;
        return EditAndSave(d);
    }));
    EXPECT_EQ(ReadFileBytes(file), Edited());
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
}

TEST_F(SaveSafetyTest, ALinkPlantedInPlaceOfTheFileIsReplacedNotFollowed)
{
    const std::string victim = dir.File("victim.txt");
    WriteFileBytes(victim, {'s', 'e', 'c', 'r', 'e', 't'});
    doc.LoadFromFile(file);
    doc.OverwriteByte(0, 0xEE, true);
    ASSERT_EQ(::unlink(file.c_str()), 0);
    ASSERT_EQ(::symlink(victim.c_str(), file.c_str()), 0);

    EXPECT_TRUE(doc.SaveToFile(file, false));
    EXPECT_EQ(hooks.Questions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{'s', 'e', 'c', 'r', 'e', 't'}));
    EXPECT_FALSE(S_ISLNK(StatOf(file).st_mode));
    EXPECT_EQ(ReadFileBytes(file), Edited());
}
#endif
