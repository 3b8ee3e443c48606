// The settings file when it holds garbage: every read gives the default or what the bytes
// say, nothing throws or blocks, and a write keeps every byte it does not change. Files that
// cannot be read are never replaced.

#include "TIniFile.h"
#include "TestSupport.h"

#include <random>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
using TValues = std::vector<std::pair<std::string, std::string>>;
} // namespace

TEST(IniGarbageTest, OddBytesAndOddLinesReadAsTheirBytesSay)
{
    using namespace std::string_literals;
    TScratchDir dir;
    const std::string f = dir.File("g.ini");

    // NUL bytes and invalid UTF-8 are bytes like any other, in names and values.
    WriteText(f, "[A]\nk=a\0b\n\0\0\0\n[B\0]\n\xC3=\x80\xFF\n"s);
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadString("A", "k", "-"), "a\0b"s);
        EXPECT_EQ(ini.ReadString("B\0"s, "\xC3", "-"), "\x80\xFF");
        EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B\0"s}));
        EXPECT_EQ(ini.ReadString("B", "\xC3", "-"), "-");
    }

    // A lone CR ends a line, and a write keeps each line's own end.
    WriteText(f, "[A]\rk=1\rj=2\r[B]\rk=3\r");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
        EXPECT_EQ(ini.ReadInteger("A", "j", 0), 2);
        EXPECT_EQ(ini.ReadInteger("B", "k", 0), 3);
        ini.WriteInteger("A", "n", 4);
        ini.WriteInteger("B", "k", 5);
    }
    EXPECT_EQ(ReadText(f), "[A]\rk=1\rj=2\rn=4\r[B]\rk=5\r");
    WriteText(f, "[A]\nk=1\r\nj=2\rm=3");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadInteger("A", "m", 0), 3);
        ini.WriteInteger("A", "j", 7);
    }
    EXPECT_EQ(ReadText(f), "[A]\nk=1\r\nj=7\rm=3\n");

    // Duplicates: the first of a name is read; a delete takes every copy, so none shows
    // through afterwards.
    WriteText(f, "[A]\nk=1\nK=2\n[a]\nk=3\nj=4\n[B]\nx=1\n");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
        EXPECT_FALSE(ini.ValueExists("A", "j"));
        EXPECT_EQ(ini.ReadSectionValues("a"), (TValues{{"k", "1"}}));
        EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B"}));
        ini.DeleteKey("A", "K");
        EXPECT_FALSE(ini.ValueExists("A", "k"));
    }
    {
        TIniFile ini(f);
        EXPECT_FALSE(ini.ValueExists("A", "k"));
        ini.EraseSection("A");
        EXPECT_FALSE(ini.SectionExists("A"));
    }
    EXPECT_EQ(ReadText(f), "[B]\nx=1\n");

    // "[" without "]" names a section by the rest of its line; "=" first makes no key.
    WriteText(f, "[A\nk=1\n[\nj=2\n=3\n = 4\n==5\nm = = 6\n");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadSectionValues("A"), (TValues{{"k", "1"}}));
        EXPECT_EQ(ini.ReadSectionValues(""), (TValues{{"j", "2"}, {"m", "= 6"}}));
    }

    // No line end at all, and keys before any section: nothing to read, nothing lost.
    WriteText(f, "k=v");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadString("", "k", "-"), "-");
        EXPECT_TRUE(ini.ReadSections().empty());
        ini.WriteString("A", "k", "w");
    }
    EXPECT_EQ(ReadText(f), "k=v\n\n[A]\nk=w\n");
}

TEST(IniGarbageTest, MegabyteLinesAreReadAndKept)
{
    TScratchDir dir;
    const std::string f = dir.File("big.ini");
    const std::string big(2 << 20, 'x');
    const std::string noKey(2 << 20, '[');
    WriteText(f, "[A]\nbig=" + big + "\nk=after\n" + big + "\n" + noKey + "]\nm=2");
    {
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadString("A", "big", "").size(), big.size());
        EXPECT_EQ(ini.ReadString("A", "k", ""), "after");
        EXPECT_EQ(ini.ReadInteger("A", "big", -3), -3);
        const std::string header = noKey.substr(1);
        EXPECT_EQ(ini.ReadInteger(header, "m", 0), 2);
        ini.WriteString("A", "k", "changed");
    }
    // Compared as a whole, not printed: a failure would print megabytes.
    EXPECT_TRUE(ReadText(f) == "[A]\nbig=" + big + "\nk=changed\n" + big + "\n" + noKey + "]\nm=2\n");
}

TEST(IniGarbageTest, NumbersOutsideTheRangeGiveTheDefault)
{
    TScratchDir dir;
    const std::string f = dir.File("n.ini");
    struct Row {
        const char *text;
        int32_t expected; // 77: the default
    };
    const Row rows[] = {
        {"99999999999999999999", 77}, {"2147483647", INT32_MAX}, {"2147483648", 77},
        {"-2147483648", INT32_MIN},   {"-2147483649", 77},       {"-5", -5},
        {"$FFFFFFFFFF", 77},          {"$FFFFFFFF", -1},         {"$000000001", 77},
        {"0x10", 16},                 {"  12 ", 12},             {"\"  12 \"", 77},
        {"", 77},                     {"1e3", 77},               {"+-5", 77},
        {"--5", 77},                  {"12\t", 12},              {"\xEF\xBC\x91", 77},
    };
    std::string text = "[N]\n";
    for (size_t i = 0; i < std::size(rows); ++i)
        text += "k" + std::to_string(i) + "=" + rows[i].text + "\n";
    text += "nul=1";
    text += '\0';
    text += "\n";
    WriteText(f, text);
    TIniFile ini(f);
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(ini.ReadInteger("N", "k" + std::to_string(i), 77), rows[i].expected) << "'" << rows[i].text << "'";
    EXPECT_EQ(ini.ReadInteger("N", "nul", 77), 77);
    EXPECT_TRUE(ini.ReadBool("N", "k0", true)) << "unreadable: the default";
    EXPECT_FALSE(ini.ReadBool("N", "k0", false));
    EXPECT_TRUE(ini.ReadBool("N", "k5", false)) << "-5 is not zero";
}

TEST(IniGarbageTest, RandomBytesNeverThrowAndAWriteKeepsThem)
{
    // Bytes that mean something to the format, and some that mean nothing.
    const char alphabet[] = "[]=;\" \t\r\n\r\nab\0\xFF\xC3\x80";
    std::mt19937 random(20240601);
    TScratchDir dir;
    const std::string f = dir.File("r.ini");
    for (int round = 0; round < 150; ++round) {
        std::string bytes(random() % 240, '\0');
        for (char &c : bytes)
            c = alphabet[random() % (sizeof alphabet - 1)];
        WriteText(f, bytes);

        std::vector<std::pair<std::string, TValues>> before;
        {
            TIniFile ini(f);
            for (const std::string &s : ini.ReadSections()) {
                before.emplace_back(s, ini.ReadSectionValues(s));
                for (const auto &kv : before.back().second) {
                    EXPECT_EQ(ini.ReadString(s, kv.first, "\x01"), kv.second) << round;
                    (void)ini.ReadInteger(s, kv.first, 0);
                }
            }
            ini.WriteString("Written", "key", "value");
            ASSERT_TRUE(ini.UpdateFile()) << round;
        }
        const std::string after = ReadText(f);
        EXPECT_EQ(after.compare(0, bytes.size(), bytes), 0) << round;
        TIniFile ini(f);
        EXPECT_EQ(ini.ReadString("Written", "key", ""), "value") << round;
        for (const auto &[section, values] : before)
            EXPECT_EQ(ini.ReadSectionValues(section), values) << round;
    }
}

TEST(IniGarbageTest, WritesUnderNamesThatCannotReadBackAreIgnored)
{
    TScratchDir dir;
    const std::string f = dir.File("w.ini");
    WriteText(f, "[A]\nk=1\n");
    {
        TIniFile ini(f);
        ini.WriteString("A", "k\nInjected", "2");
        ini.WriteString("A", "a=b", "2");
        ini.WriteString("A", "[B]", "2");
        ini.WriteString("A", ";c", "2");
        ini.WriteString("A", "  ", "2");
        ini.WriteString("A]x", "k", "2");
        ini.WriteString("A\r[C]", "k", "2");
        ini.WriteString("A", "k", "3");
    }
    EXPECT_EQ(ReadText(f), "[A]\nk=3\n");
}

TEST(IniGarbageTest, AFileThatCannotBeReadIsNeverReplaced)
{
    TScratchDir dir;
#ifndef _WIN32 // Windows has no FIFOs among files
    // A FIFO would block a plain open for reading until some writer came.
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(30); // a hang fails the test instead of stalling the run
    {
        TIniFile ini(fifo);
        EXPECT_EQ(ini.ReadInteger("A", "k", 7), 7);
        ini.WriteInteger("A", "k", 1);
        EXPECT_FALSE(ini.UpdateFile());
    }
    ::alarm(0);
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
#endif

    // Up to the limit a file is read; beyond it, it is not a settings file.
    const std::string head = "[A]\nk=1\n;";
    const std::string f = dir.File("large.ini");
    for (size_t size : {TIniFile::kMaxFileSize, TIniFile::kMaxFileSize + 1}) {
        const std::string text = head + std::string(size - head.size() - 1, 'x') + "\n";
        WriteText(f, text);
        {
            TIniFile ini(f);
            const bool readable = size <= TIniFile::kMaxFileSize;
            EXPECT_EQ(ini.ReadInteger("A", "k", 7), readable ? 1 : 7);
            ini.WriteInteger("A", "j", 2);
            EXPECT_EQ(ini.UpdateFile(), readable);
        }
        EXPECT_EQ(ReadText(f) == text, size > TIniFile::kMaxFileSize);
    }
}
