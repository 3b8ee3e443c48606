// The shared memory stream: the read, write and seek rules at the edges of the block, its two
// messages, a block that is this user's alone, and a lifetime that ends with the last holder
// (also when holders crash), across real processes.

#include "EAccessViolation.h"
#include "EFCreateError.h"
#include "THelperProcess.h"
#include "TSharedMemBlock.h"
#include "TVxShareMemStream.h"

#include <QCoreApplication>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A block name of this test alone: ctest runs tests in parallel processes.
std::string UniqueName()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("HXTEST-") + info->name() + "-" + std::to_string(::getpid());
}

std::string DevShmPath(const std::string &name) { return "/dev/shm" + TSharedMemBlock::SystemName(name); }

bool BlockExists(const std::string &name)
{
    struct stat st;
    return ::stat(DevShmPath(name).c_str(), &st) == 0;
}

std::string Bytes(TVxShareMemStream &s, int32_t at, int32_t n)
{
    std::string out(size_t(n), '\0');
    s.SetPosition(at);
    out.resize(size_t(s.Read(out.data(), n)));
    return out;
}

struct ShareMemStreamTest : ::testing::Test {
    std::string Name = UniqueName();
    ~ShareMemStreamTest() override { ::shm_unlink(TSharedMemBlock::SystemName(Name).c_str()); }
};

template <class E, class F> std::string MessageOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "(nothing thrown)";
}
} // namespace

TEST_F(ShareMemStreamTest, ReadsStopAtTheEndAndWritesAreAllOrNothing)
{
    TVxShareMemStream s(Name, 260);
    EXPECT_EQ(s.Size(), 260);
    EXPECT_EQ(s.Position(), 0);

    char buf[300];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(s.Read(buf, 300), 260);
    EXPECT_EQ(s.Position(), 260);
    EXPECT_EQ(std::string(buf, 260), std::string(260, '\0')) << "a new block holds zero bytes";
    EXPECT_EQ(buf[260], 'x') << "nothing beyond the block is copied";
    EXPECT_EQ(s.Read(buf, 1), 0);

    s.SetPosition(259);
    EXPECT_EQ(MessageOf<EAccessViolation>([&] { s.Write("ab", 2); }), "共有メモリを逸脱した書き込み");
    EXPECT_EQ(s.Position(), 259);
    EXPECT_EQ(Bytes(s, 259, 1), std::string(1, '\0')) << "a refused write writes nothing";
    s.SetPosition(259);
    EXPECT_EQ(s.Write("a", 1), 1);
    EXPECT_EQ(s.Position(), 260);
    EXPECT_EQ(Bytes(s, 259, 1), "a");

    s.SetPosition(10);
    EXPECT_EQ(s.Write("zz", 0), 0);
    EXPECT_EQ(s.Position(), 10);
    EXPECT_EQ(Bytes(s, 10, 1), std::string(1, '\0'));

    s.SetPosition(10);
    EXPECT_EQ(s.Write("zz", -1), 0);
    EXPECT_EQ(s.Read(buf, -1), 0);
    EXPECT_EQ(s.Position(), 10);

    // Far positions must not overflow into a write inside the block.
    s.SetPosition(INT32_MAX - 1);
    EXPECT_THROW(s.Write("abcd", 4), EAccessViolation);
    EXPECT_EQ(s.Read(buf, 4), 0);
}

TEST_F(ShareMemStreamTest, SeekNeverClampsAndOutsidePositionsReadNothing)
{
    TVxShareMemStream s(Name, 260);
    EXPECT_EQ(s.Seek(-5, TVxShareMemStream::soEnd), 255);
    EXPECT_EQ(s.Seek(3, TVxShareMemStream::soCurrent), 258);
    EXPECT_EQ(s.Seek(100, 7), 258) << "an unknown origin leaves the position";
    EXPECT_EQ(s.Seek(500, TVxShareMemStream::soBeginning), 500);
    EXPECT_EQ(s.Position(), 500);

    char buf[8];
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_THROW(s.Write("a", 1), EAccessViolation) << "beyond the end: the overrun error";
    EXPECT_EQ(s.Position(), 500);
    EXPECT_THROW(s.Write("a", 0), EAccessViolation) << "even an empty write ends beyond the block";

    EXPECT_EQ(s.Seek(-20, TVxShareMemStream::soBeginning), -20);
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_EQ(s.Write("abcdefgh", 8), 0) << "before the start: nothing, no error";
    EXPECT_EQ(s.Position(), -20);
    EXPECT_EQ(Bytes(s, 0, 8), std::string(8, '\0'));

    s.SetSize(10);
    EXPECT_EQ(s.Size(), 260) << "the size stays the one given";
}

TEST_F(ShareMemStreamTest, OpenErrorNamesTheBlock)
{
    EXPECT_EQ(MessageOf<EFCreateError>([] { TVxShareMemStream s("no/such", 260); }), "共有メモリ[no/such]を開けません");
    EXPECT_EQ(MessageOf<EFCreateError>([&] { TVxShareMemStream s(Name, 0); }), "共有メモリ[" + Name + "]を開けません");
}

TEST_F(ShareMemStreamTest, BlockIsThisUsersAloneAndForeignOnesAreRefused)
{
    {
        TVxShareMemStream s(Name, 260);
        EXPECT_EQ(TSharedMemBlock::SystemName(Name), "/" + Name + "-" + std::to_string(::geteuid()));
        struct stat st;
        ASSERT_EQ(::stat(DevShmPath(Name).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        EXPECT_EQ(st.st_uid, ::geteuid());
        EXPECT_GE(st.st_size, 260);
    }

    // A block of that name that others may open is not ours to share the search text through.
    const std::string sys = TSharedMemBlock::SystemName(Name);
    int fd = ::shm_open(sys.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::fchmod(fd, 0666), 0);
    EXPECT_THROW(TVxShareMemStream(Name, 260), EFCreateError);
    EXPECT_TRUE(BlockExists(Name)) << "a refused block is left alone, not unlinked";

    if (::geteuid() == 0) {
        ASSERT_EQ(::fchmod(fd, 0600), 0);
        ASSERT_EQ(::fchown(fd, 65534, 65534), 0);
        EXPECT_THROW(TVxShareMemStream(Name, 260), EFCreateError) << "another user's block";
        EXPECT_TRUE(BlockExists(Name));
    }
    ::close(fd);
}

TEST_F(ShareMemStreamTest, LastStreamToCloseRemovesTheBlock)
{
    auto first = std::make_unique<TVxShareMemStream>(Name, 260);
    first->Write("hello", 5);
    {
        TVxShareMemStream second(Name, 260);
        EXPECT_EQ(Bytes(second, 0, 5), "hello") << "the same memory, not a copy";
        second.SetPosition(100);
        second.Write("back", 4);
    }
    EXPECT_TRUE(BlockExists(Name)) << "one holder is left";
    EXPECT_EQ(Bytes(*first, 100, 4), "back");
    first.reset();
    EXPECT_FALSE(BlockExists(Name));

    TVxShareMemStream again(Name, 260);
    EXPECT_EQ(Bytes(again, 0, 5), std::string(5, '\0')) << "nothing survives a time without holders";
}

TEST_F(ShareMemStreamTest, AnotherProcessSharesTheBytesAndItsCrashDoesNotKeepTheBlock)
{
    auto mine = std::make_unique<TVxShareMemStream>(Name, 260);
    mine->SetPosition(20);
    mine->Write("from the test", 13);

    THelperProcess writer({"shm-write", QString::fromStdString(Name), "260", "40", "from the child"});
    ASSERT_FALSE(writer.Take("written").isNull()) << writer.AllOutput().toStdString();
    EXPECT_EQ(Bytes(*mine, 40, 14), "from the child");

    THelperProcess reader({"shm-read", QString::fromStdString(Name), "260"});
    const QByteArray seen = QByteArray::fromHex(reader.Take("data ").toLatin1());
    ASSERT_EQ(seen.size(), 260);
    EXPECT_EQ(seen.mid(20, 13), "from the test");
    EXPECT_EQ(seen.mid(40, 14), "from the child");

    writer.Kill();
    reader.Kill();
    EXPECT_TRUE(BlockExists(Name));
    // The last live holder, however the others ended.
    mine.reset();
    EXPECT_FALSE(BlockExists(Name));
}

TEST_F(ShareMemStreamTest, BlockLeftByCrashedHoldersStartsAgainWithZeros)
{
    {
        THelperProcess writer({"shm-write", QString::fromStdString(Name), "260", "0", "stale"});
        ASSERT_FALSE(writer.Take("written").isNull()) << writer.AllOutput().toStdString();
        writer.Kill();
    }
    EXPECT_TRUE(BlockExists(Name)) << "a killed holder cannot unlink";
    {
        TVxShareMemStream s(Name, 260);
        EXPECT_EQ(Bytes(s, 0, 5), std::string(5, '\0'));
    }
    EXPECT_FALSE(BlockExists(Name));
}
