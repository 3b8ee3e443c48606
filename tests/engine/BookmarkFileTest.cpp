// The bookmarks file: what is written reads back whatever the names hold; a damaged line
// costs only itself; writers of several processes keep each other's records; a damaged or
// unreadable file is left alone until the user changes bookmarks.

#include "TVxBookmarkStore.h"
#include "TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
std::string RandomText(std::mt19937 &rng, size_t max)
{
    static const std::string pieces[] = {"a", "Z", "\t", "\n", "\r", "\\", "\\t", "しおり", " ", "#", "F", "\xff"};
    std::string s;
    for (size_t n = rng() % (max + 1); n > 0; --n)
        s += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
    return s;
}

TVxBookmarkRecord RandomRecord(std::mt19937 &rng, int i)
{
    TVxBookmarkRecord r;
    std::mt19937 byPath(static_cast<unsigned>(i)); // a path of its own for each i
    r.Path = "/d/" + std::to_string(i) + "/" + RandomText(byPath, 6);
    r.Size = 1 + rng() % 100000;
    r.MtimeNs = int64_t(rng()) * 1000003 - (i % 3 == 0 ? int64_t(1) << 40 : 0);
    for (int k = 1 + rng() % 5; k > 0; --k) {
        TVxBookmark m;
        m.Offset = int32_t(rng() % r.Size);
        m.Length = 1 + int32_t(rng() % (r.Size - m.Offset));
        m.Color = rng() & 0xFFFFFF;
        m.Name = RandomText(rng, 8);
        r.Marks.push_back(m);
    }
    return r;
}

void ExpectSame(const std::vector<TVxBookmarkRecord> &a, const std::vector<TVxBookmarkRecord> &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Path, b[i].Path);
        EXPECT_EQ(a[i].Size, b[i].Size);
        EXPECT_EQ(a[i].MtimeNs, b[i].MtimeNs);
        EXPECT_EQ(a[i].Marks, b[i].Marks) << a[i].Path;
    }
}

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TVxBookmarkRecord OneMark(const std::string &path, int32_t offset)
{
    TVxBookmarkRecord r;
    r.Path = path;
    r.Size = 1000;
    TVxBookmark m;
    m.Offset = offset;
    r.Marks.push_back(m);
    return r;
}
} // namespace

TEST(BookmarkFileTest, WhatIsWrittenReadsBackMostRecentFirstWithinTheCap)
{
    std::mt19937 rng(11);
    TVxBookmarkFile file;
    for (int i = 0; i < 300; ++i)
        file.Put(RandomRecord(rng, i % 200)); // a hundred paths written twice
    const std::string seventh = file.Records()[99 - 7].Path;
    file.Put(TVxBookmarkRecord{seventh, 10, 0, {}}); // no bookmarks: the path goes
    const TVxBookmarkFile back = TVxBookmarkFile::Parse(file.Serialize());
    EXPECT_EQ(back.DamagedLines(), 0u);
    ExpectSame(back.Records(), file.Records());
    EXPECT_EQ(back.Records().size(), 199u);
    EXPECT_EQ(back.Records().front().Path.rfind("/d/99/", 0), 0u) << "the last written comes first";
    EXPECT_FALSE(back.Find(seventh));

    for (int i = 0; i < int(TVxBookmarkFile::kMaxFiles) + 5; ++i)
        file.Put(OneMark("/cap/" + std::to_string(i), 0));
    EXPECT_EQ(file.Records().size(), TVxBookmarkFile::kMaxFiles);
    EXPECT_TRUE(file.Find("/cap/1004"));
    EXPECT_FALSE(file.Find("/cap/4")) << "the least recently written go";
}

TEST(BookmarkFileTest, EachDamagedLineCostsOnlyItself)
{
    const std::string good = "F\t100\t5\t/a\nB\t0\t4\t0000FF\tx\nF\t50\t-7\t/b\nB\t49\t1\tabcdef\ty\\tz\n";
    // Each follows /b's record (50 bytes) and is damaged; a file line takes its bookmark along.
    const char *cases[] = {
        "B\t49\t2\t0000FF\tbeyond the file\n", "B\t1\t0\t0000FF\tempty\n",
        "B\t1\t1\t0000F\tshort colour\n",      "B\t1\t1\t1000000\twide colour\n",
        "B\t1\t1\t00000G\tbad digit\n",       "B\t1\t1\t0000FF\tbad \\x escape\n",
        "B\t-1\t1\t0000FF\tnegative\n",       "B\t99999999999999999999\t1\t0000FF\tbig\n",
        "X\twhat\n",                            "B\t1\t1\t0000FF\n",
        "F\t10\t0\t/a\nB\t0\t1\t000000\tagain\n",
        "F\t2147483648\t0\t/c\nB\t0\t1\t000000\ttoo big a file\n",
    };
    for (const char *line : cases) {
        const std::string text = "B\t0\t1\t000000\tbefore any file\n" + good + line;
        const TVxBookmarkFile f = TVxBookmarkFile::Parse(text);
        EXPECT_EQ(f.DamagedLines(), 2u) << line;
        ASSERT_EQ(f.Records().size(), 2u) << line;
        EXPECT_EQ(f.Find("/a")->Marks.size() + f.Find("/b")->Marks.size(), 2u) << line;
        EXPECT_EQ(f.Find("/b")->Marks[0].Name, "y\tz");
        EXPECT_EQ(f.Find("/b")->Marks[0].Color, 0xABCDEFu);
        EXPECT_EQ(f.Find("/b")->MtimeNs, -7);
    }
    // Whatever bytes the file holds, what is read is sound and writes back as it was read.
    std::mt19937 rng(3);
    for (int i = 0; i < 3000; ++i) {
        std::string text = good;
        for (int k = rng() % 6; k > 0; --k)
            text.insert(rng() % (text.size() + 1), RandomText(rng, 3));
        const TVxBookmarkFile f = TVxBookmarkFile::Parse(text);
        for (const TVxBookmarkRecord &r : f.Records())
            for (const TVxBookmark &m : r.Marks)
                ASSERT_TRUE(m.Offset >= 0 && m.Length >= 1 && m.End() <= r.Size) << text;
        ExpectSame(TVxBookmarkFile::Parse(f.Serialize()).Records(), f.Records());
    }
}

TEST(BookmarkFileTest, InstancesKeepEachOthersRecordsAndDamageWaitsForTheUser)
{
    TScratchDir dir;
    const std::string name = dir.File(TVxBookmarkStore::kFileName);
#ifndef _WIN32
    // Writers in several processes at once, each its own file many times over.
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < 25 && ok; ++i)
                ok = TVxBookmarkStore(name).Put(OneMark("/p" + std::to_string(c), i), true);
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TVxBookmarkStore::TRead read = TVxBookmarkStore(name).Read();
    EXPECT_FALSE(read.Damaged());
    ASSERT_EQ(read.File.Records().size(), 4u);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(read.File.Find("/p" + std::to_string(c))->Marks.at(0).Offset, 24);
#else
    for (int c = 0; c < 4; ++c)
        ASSERT_TRUE(TVxBookmarkStore(name).Put(OneMark("/p" + std::to_string(c), 24), true));
#endif

    // A damaged line: the file stays byte for byte until a change of the user's.
    const std::string damaged = ReadAll(name) + "garbage\n";
    std::ofstream(name, std::ios::binary) << damaged;
    TVxBookmarkStore store(name);
    EXPECT_TRUE(store.Read().Damaged());
    EXPECT_FALSE(store.Put(OneMark("/p0", 5), false));
    EXPECT_EQ(ReadAll(name), damaged);
    EXPECT_TRUE(store.Put(OneMark("/p0", 5), true));
    EXPECT_FALSE(store.Read().Damaged());
    EXPECT_EQ(store.Read().File.Find("/p0")->Marks.at(0).Offset, 5);
    EXPECT_TRUE(store.Read().File.Find("/p3")) << "the readable records stay";
    EXPECT_FALSE(store.Put(TVxBookmarkRecord{"/none", 10, 0, {}}, true)) << "nothing to forget, nothing written";

    // A name that is no file to read (a folder here) is never replaced.
    TVxBookmarkStore folder(dir.Path());
    EXPECT_TRUE(folder.Read().Unreadable);
    EXPECT_FALSE(folder.Put(OneMark("/q", 1), true));
    struct stat st {};
    EXPECT_TRUE(::stat(dir.Path().c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}
