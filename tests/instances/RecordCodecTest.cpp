// The two fixed forms that cross between instances: the shared search record (260 bytes in
// the shared block) and the 8-byte notice on a socket. Whatever bytes arrive, a reader gets a
// value a writer could have sent, and reads nothing beyond what it was given.

#include "EAccessViolation.h"
#include "TInstanceMessage.h"
#include "TSharedMemBlock.h"
#include "TVxSearchRecord.h"
#include "TVxShareMemStream.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>
#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace {
std::string UniqueName()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("HXTEST-") + info->name() + "-" + std::to_string(::getpid());
}
} // namespace

TEST(SearchRecordTest, EncodesCountFlagTextAndZeros)
{
    const std::string text = "\x8c\x9f\x8d\xf5 abc"; // 検索 in CP932, then Latin letters
    const auto bytes = TVxSearchRecord::Encode(text, true);
    ASSERT_EQ(bytes.size(), 260u);
    EXPECT_EQ(bytes[0], text.size() + 1) << "the count includes the terminating zero";
    EXPECT_EQ(bytes[1], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(bytes.data()) + 2, text.size()), text);
    for (size_t i = 2 + text.size(); i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], 0) << i;

    const auto back = TVxSearchRecord::Decode(bytes.data(), bytes.size());
    EXPECT_EQ(back.Text, text);
    EXPECT_TRUE(back.IgnoreCase);

    const auto empty = TVxSearchRecord::Encode("", false);
    EXPECT_EQ(empty[0], 1);
    EXPECT_EQ(empty[1], 0);
    EXPECT_EQ(TVxSearchRecord::Decode(empty.data(), empty.size()).Text, "");
    EXPECT_FALSE(TVxSearchRecord::Decode(empty.data(), empty.size()).Hex);

    // A search by hex marks the last byte; the longest text never reaches it.
    const auto hex = TVxSearchRecord::Encode(std::string(300, '4'), false, true);
    EXPECT_EQ(hex[259], 1);
    EXPECT_EQ(hex[0], 255);
    const auto hexBack = TVxSearchRecord::Decode(hex.data(), hex.size());
    EXPECT_TRUE(hexBack.Hex);
    EXPECT_EQ(hexBack.Text, std::string(254, '4'));
    EXPECT_FALSE(TVxSearchRecord::Decode(hex.data(), 259).Hex) << "a record cut short has no flag";
}

TEST(SearchRecordTest, LongTextIsStoredAsItsFirst254Bytes)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(char('A' + i % 26));
    const auto bytes = TVxSearchRecord::Encode(text, false);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[2 + 254], 0);
    const auto back = TVxSearchRecord::Decode(bytes.data(), bytes.size());
    EXPECT_EQ(back.Text, text.substr(0, 254));

    // A zero byte ends the text for every reader, so the writer counts only what precedes it.
    const auto cut = TVxSearchRecord::Encode(std::string("ab\0cd", 5), false);
    EXPECT_EQ(cut[0], 3);
    EXPECT_EQ(TVxSearchRecord::Decode(cut.data(), cut.size()).Text, "ab");
}

TEST(SearchRecordTest, AnyBytesDecodeToABoundedText)
{
    // Scribbled over: the largest count, a flag that is neither 0 nor 1, no zero anywhere.
    std::vector<uint8_t> garbage(260, 0xFF);
    auto r = TVxSearchRecord::Decode(garbage.data(), garbage.size());
    EXPECT_EQ(r.Text, std::string(254, '\xFF'));
    EXPECT_TRUE(r.IgnoreCase);

    garbage[0] = 254;
    EXPECT_EQ(TVxSearchRecord::Decode(garbage.data(), garbage.size()).Text.size(), 254u);
    garbage[0] = 10;
    garbage[6] = 0;
    EXPECT_EQ(TVxSearchRecord::Decode(garbage.data(), garbage.size()).Text, std::string(4, '\xFF'))
        << "the first zero inside the count ends the text";
    garbage[0] = 3;
    EXPECT_EQ(TVxSearchRecord::Decode(garbage.data(), garbage.size()).Text, std::string(3, '\xFF'))
        << "no zero inside the count: the count ends it";

    // A record cut short: the count claims more than was given. An exact-size buffer lets
    // the address sanitizer or valgrind see any read past it.
    const std::vector<uint8_t> exact = {200, 0, 'x', 'y', 'z'};
    EXPECT_EQ(TVxSearchRecord::Decode(exact.data(), exact.size()).Text, "xyz");
    EXPECT_EQ(TVxSearchRecord::Decode(exact.data(), 1).Text, "");
    EXPECT_EQ(TVxSearchRecord::Decode(nullptr, 0).Text, "");

    const std::vector<uint8_t> unwritten(260, 0);
    r = TVxSearchRecord::Decode(unwritten.data(), unwritten.size());
    EXPECT_EQ(r.Text, "");
    EXPECT_FALSE(r.IgnoreCase);
}

TEST(SearchRecordTest, StoreAndLoadGoThroughTheSharedBlock)
{
    const std::string name = UniqueName();
    {
        TVxShareMemStream writer(name, TVxSearchRecord::kSize);
        TVxShareMemStream reader(name, TVxSearchRecord::kSize);
        EXPECT_EQ(TVxSearchRecord::Load(reader).Text, "") << "a block nobody has written";

        writer.SetPosition(77);
        TVxSearchRecord::Store(writer, std::string(300, 'q'), true);
        reader.SetPosition(13);
        const auto r = TVxSearchRecord::Load(reader);
        EXPECT_EQ(r.Text, std::string(254, 'q'));
        EXPECT_TRUE(r.IgnoreCase);

        TVxSearchRecord::Store(writer, "ab", false);
        const auto shorter = TVxSearchRecord::Load(reader);
        EXPECT_EQ(shorter.Text, "ab") << "a shorter record replaces the whole longer one";
        EXPECT_FALSE(shorter.IgnoreCase);
    }
    {
        TVxShareMemStream small(name + "-small", 100);
        EXPECT_THROW(TVxSearchRecord::Store(small, "x", false), EAccessViolation);
    }
#ifndef _WIN32 // Windows frees a mapping with its last handle
    ::shm_unlink(TSharedMemBlock::SystemName(name).c_str());
    ::shm_unlink(TSharedMemBlock::SystemName(name + "-small").c_str());
#endif
}

TEST(InstanceMessageTest, OnlyWholeMessagesOfKnownNoticesDecode)
{
    for (TEditorNotice n : {TEditorNotice::SearchTextChanged, TEditorNotice::FileOpened, TEditorNotice::Close,
                            TEditorNotice::Activate}) {
        const auto bytes = TInstanceMessage::Encode(n);
        TEditorNotice back{};
        ASSERT_TRUE(TInstanceMessage::Decode(bytes.data(), bytes.size(), back));
        EXPECT_EQ(back, n);
        EXPECT_FALSE(TInstanceMessage::Decode(bytes.data(), bytes.size() - 1, back)) << "cut short";
        std::string longer(bytes.data(), bytes.size());
        longer += "x";
        EXPECT_FALSE(TInstanceMessage::Decode(longer.data(), longer.size(), back)) << "with a tail";
        auto tagged = bytes;
        tagged[0] = 'h';
        EXPECT_FALSE(TInstanceMessage::Decode(tagged.data(), tagged.size(), back)) << "wrong tag";
    }
    auto unknown = TInstanceMessage::Encode(TEditorNotice::FileOpened);
    unknown[7] = 0x67; // WM_USER + 103: no such notice
    TEditorNotice back{};
    EXPECT_FALSE(TInstanceMessage::Decode(unknown.data(), unknown.size(), back));
}
