// Loading and saving: event order, backups and their rotation, the history across saves,
// and loads that must be refused without touching the open document.

#include "TVxError.h"
#include "TFileHandle.h"
#include "TFileIdentity.h"
#include "TTempFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
struct DocumentFilesTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    TRecordingHooks hooks;
    void SetUp() override { hooks.Attach(doc); }
};

bool Exists(const std::string &p) { return PathExists(p); }
} // namespace

TEST(BackupNameTest, GenerationGoesBeforeTheExtension)
{
    EXPECT_EQ(TVxDocument::BackupFileName("/data/image.bin", 1), "/data/image.001.bin");
    EXPECT_EQ(TVxDocument::BackupFileName("/data/image.bin", 12), "/data/image.012.bin");
    EXPECT_EQ(TVxDocument::BackupFileName("/data/README", 7), "/data/README.007");
    EXPECT_EQ(TVxDocument::BackupFileName("/d.x/a.tar.gz", 100), "/d.x/a.tar.100.gz");
    EXPECT_EQ(TVxDocument::BackupFileName("/d.e/x.bin", 1), "/d.e/x.001.bin");
#ifdef _WIN32
    EXPECT_EQ(TVxDocument::BackupFileName("C:\\d.x\\README", 7), "C:\\d.x\\README.007");
#endif
    EXPECT_EQ(TVxDocument::BackupFileName("/d.e/name", 2), "/d.e/name.002");
    EXPECT_EQ(TVxDocument::BackupFileName("name", 999), "name.999");
}

TEST_F(DocumentFilesTest, LoadFiresItsEventsInOrder)
{
    WriteFileBytes(dir.File("a.bin"), Pattern(40));
    ASSERT_TRUE(doc.LoadFromFile(dir.File("a.bin")));
    EXPECT_EQ(hooks.Log, (std::vector<std::string>{"undo:0", "filesize:40", "size", "replaced", "open", "post",
                                                   "filesize:40", "size"}));
    EXPECT_EQ(doc.FileName(), dir.File("a.bin"));
    EXPECT_EQ(DocBytes(doc), Pattern(40));
}

TEST_F(DocumentFilesTest, LoadUntitledTakesAnImageFileAsAFreshDocument)
{
    WriteFileBytes(dir.File("a.bin"), Pattern(100));
    ASSERT_TRUE(doc.LoadFromFile(dir.File("a.bin")));
    doc.OverwriteByte(0, 1, true);
    TTempFile image = TTempFile::Create();
    const std::vector<uint8_t> bytes = Pattern(5000, 4);
    image.Handle().WriteAt(0, bytes.data(), bytes.size());
    hooks.Log.clear();
    doc.LoadUntitled(std::move(image));
    EXPECT_EQ(hooks.Log, (std::vector<std::string>{"undo:0", "filesize:5000", "size", "replaced", "open", "post",
                                                   "filesize:5000", "size"}))
        << "the events of a load";
    EXPECT_EQ(DocBytes(doc), bytes);
    EXPECT_TRUE(doc.FileName().empty());
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.DiskIdentity().Exists);
    // Saved like any untitled document, and the file it was loaded from is left alone.
    ASSERT_TRUE(doc.SaveToFile(dir.File("saved.bin"), false));
    EXPECT_EQ(ReadFileBytes(dir.File("saved.bin")), bytes);
    EXPECT_EQ(ReadFileBytes(dir.File("a.bin")), Pattern(100));
}

TEST_F(DocumentFilesTest, EmptyFileLoadsLikeAnyOther)
{
    WriteFileBytes(dir.File("empty"), {});
    doc.InsertByte(0, 5, true);
    hooks.Log.clear();
    ASSERT_TRUE(doc.LoadFromFile(dir.File("empty")));
    EXPECT_EQ(doc.FileSize(), 0);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(hooks.Log, (std::vector<std::string>{"undo:0", "filesize:0", "size", "replaced", "open", "post",
                                                   "filesize:0", "size"}));
}

TEST_F(DocumentFilesTest, SavingWithoutBackupsRenamesNothing)
{
    std::string f = dir.File("x.bin");
    WriteFileBytes(f, {1, 2, 3});
    doc.LoadFromFile(f);
    doc.OverwriteByte(0, 9, true);
    ASSERT_TRUE(doc.SaveToFile(f, false));
    EXPECT_EQ(ReadFileBytes(f), (std::vector<uint8_t>{9, 2, 3}));
    EXPECT_FALSE(Exists(dir.File("x.001.bin")));
}

TEST_F(DocumentFilesTest, BackupsFillGenerationsThenRotate)
{
    std::string f = dir.File("img.bin");
    WriteFileBytes(f, {0});
    doc.LoadFromFile(f);
    doc.SaveBackup = true;
    doc.SaveBackupCount = 10;
    for (int save = 1; save <= 11; ++save) {
        doc.OverwriteByte(0, static_cast<uint8_t>(save), true);
        ASSERT_TRUE(doc.SaveToFile(f, false)) << doc.LastWriteError();
    }
    // Saves 1..10 kept the contents 0..9; the 11th dropped the oldest (0) and shifted.
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(ReadFileBytes(TVxDocument::BackupFileName(f, n)), (std::vector<uint8_t>{uint8_t(n)})) << n;
    EXPECT_FALSE(Exists(TVxDocument::BackupFileName(f, 11)));
    EXPECT_EQ(ReadFileBytes(f), (std::vector<uint8_t>{11}));
}

TEST_F(DocumentFilesTest, OneGenerationIsReplacedOnEverySave)
{
    std::string f = dir.File("README");
    WriteFileBytes(f, {0});
    doc.LoadFromFile(f);
    doc.SaveBackup = true;
    doc.SaveBackupCount = 1;
    for (int save = 1; save <= 3; ++save) {
        doc.OverwriteByte(0, static_cast<uint8_t>(save), true);
        ASSERT_TRUE(doc.SaveToFile(f, false));
    }
    EXPECT_EQ(ReadFileBytes(dir.File("README.001")), (std::vector<uint8_t>{2}));
    EXPECT_FALSE(Exists(dir.File("README.002")));
}

TEST_F(DocumentFilesTest, NewFileGetsNoBackupAndNewPermissions)
{
    doc.SaveBackup = true;
    doc.InsertByte(0, 1, true);
    std::string f = dir.File("new.bin");
    ASSERT_TRUE(doc.SaveToFile(f, false));
    EXPECT_FALSE(Exists(dir.File("new.001.bin")));
    EXPECT_EQ(doc.FileName(), f);
#ifndef _WIN32 // Windows: a new file takes the permissions its folder hands down
    struct stat st;
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
#endif
}

TEST_F(DocumentFilesTest, DecliningToSaveWithoutBackupKeepsEverything)
{
    std::string f = dir.File("locked.bin");
    WriteFileBytes(f, {1});
    doc.LoadFromFile(f);
    doc.OverwriteByte(0, 2, true);
    doc.SaveBackup = true;
    // A directory in the way of generation 1 makes the rename fail.
    MakeFolder(dir.File("locked.001.bin"));
    MakeFolder(dir.File("locked.001.bin/x"));
    doc.SaveBackupCount = 1;
    hooks.Answer = false;
    EXPECT_FALSE(doc.SaveToFile(dir.File("locked.bin"), false));
    ASSERT_EQ(hooks.Questions.size(), 1u);
    EXPECT_EQ(hooks.Questions[0], "nobackup:" + f);
    EXPECT_EQ(ReadFileBytes(f), (std::vector<uint8_t>{1}));
    EXPECT_TRUE(doc.Modified());

    hooks.Answer = true;
    EXPECT_TRUE(doc.SaveToFile(f, false));
    EXPECT_EQ(ReadFileBytes(f), (std::vector<uint8_t>{2}));
}

#ifndef _WIN32 // permission bits and symbolic links of POSIX systems
TEST_F(DocumentFilesTest, SaveKeepsPermissionsAndWritesThroughSymlinks)
{
    std::string real = dir.File("real.bin");
    std::string link = dir.File("link.bin");
    WriteFileBytes(real, {1, 2});
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.bin", link.c_str()), 0);
    doc.LoadFromFile(link);
    doc.InsertByte(2, 3, true);
    doc.SaveBackup = true;
    ASSERT_TRUE(doc.SaveToFile(link, true));
    struct stat st;
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFileBytes(real), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadFileBytes(dir.File("real.001.bin")), (std::vector<uint8_t>{1, 2}));
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(doc.FileName(), link);
}
#endif

TEST_F(DocumentFilesTest, HistoryAcrossSaves)
{
    std::string f = dir.File("h.bin");
    WriteFileBytes(f, {1, 2, 3});
    doc.LoadFromFile(f);
    EXPECT_FALSE(doc.Modified());
    doc.OverwriteByte(1, 7, true);
    EXPECT_TRUE(doc.Modified());
    hooks.Log.clear();
    ASSERT_TRUE(doc.SaveToFile(f, true));
    EXPECT_EQ(hooks.Log, (std::vector<std::string>{"undo:1"}));
    EXPECT_FALSE(doc.Modified());
    doc.Undo();
    EXPECT_TRUE(doc.Modified()); // undoing past the save is a change too
    EXPECT_EQ(DocBytes(doc), (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_TRUE(doc.SaveToFile(f, true));
    EXPECT_FALSE(doc.Modified());
    doc.InsertByte(0, 0, true);
    EXPECT_TRUE(doc.Modified());
    hooks.Log.clear();
    ASSERT_TRUE(doc.SaveToFile(f, false));
    EXPECT_EQ(hooks.Log, (std::vector<std::string>{"undo:0"}));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.Modified());
    hooks.Log.clear();
    doc.Undo();
    EXPECT_TRUE(hooks.Log.empty());
}

TEST_F(DocumentFilesTest, RefusedLoadsLeaveTheDocumentAsItWas)
{
    std::string f = dir.File("keep.bin");
    WriteFileBytes(f, Pattern(100));
    doc.LoadFromFile(f);
    doc.OverwriteByte(5, 0xEE, true);
    doc.InsertByte(50, 0x11, true);
    const auto before = DocBytes(doc);
    const uint64_t work = TFileIdentity::Of(doc.WorkCopy().Handle()).Ino;

    std::string huge = dir.File("huge.bin");
    // Just the length: sparse where the file system can, never written.
    TFileHandle::CreateNew(huge, 0600).SetLength(2147483648LL);
    EXPECT_THROW(doc.LoadFromFile(dir.File("missing.bin")), std::system_error);
    EXPECT_THROW(doc.LoadFromFile(dir.Path()), std::system_error);
    EXPECT_THROW(doc.LoadFromFile(huge), TVxError);
#ifdef _WIN32
    EXPECT_THROW(doc.LoadFromFile("NUL"), TVxError); // a device, not a file
#else
    std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(doc.LoadFromFile(fifo), TVxError);
    if (::geteuid() != 0) {
        std::string secret = dir.File("secret.bin");
        WriteFileBytes(secret, {1});
        ::chmod(secret.c_str(), 0);
        EXPECT_THROW(doc.LoadFromFile(secret), std::system_error);
    }
#endif
    EXPECT_EQ(DocBytes(doc), before);
    EXPECT_EQ(doc.FileName(), f);
    EXPECT_EQ(doc.UndoCount(), 2);
    EXPECT_EQ(TFileIdentity::Of(doc.WorkCopy().Handle()).Ino, work);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), Pattern(100));
}

TEST_F(DocumentFilesTest, EventsReachEveryListenerUntilThatOneIsRemoved)
{
    std::vector<std::string> heard;
    const auto watch = doc.OnFileOpen.Add([&] { heard.push_back("watch"); });
    doc.OnFileOpen.Add([&] { heard.push_back("recent"); });
    WriteFileBytes(dir.File("e.bin"), {1});
    doc.LoadFromFile(dir.File("e.bin"));
    EXPECT_EQ(heard, (std::vector<std::string>{"watch", "recent"}));
    EXPECT_NE(std::find(hooks.Log.begin(), hooks.Log.end(), "open"), hooks.Log.end()); // the first listener too
    heard.clear();
    doc.OnFileOpen.Remove(watch);
    doc.OnFileOpen.Remove(watch); // a second time changes nothing
    {
        TVxListeners scoped;
        scoped.Listen(doc.OnFileOpen, [&] { heard.push_back("scoped"); });
        doc.LoadFromFile(dir.File("e.bin"));
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"recent", "scoped"}));
    heard.clear();
    doc.LoadFromFile(dir.File("e.bin"));
    EXPECT_EQ(heard, (std::vector<std::string>{"recent"}));
}
