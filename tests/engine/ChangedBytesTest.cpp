// The changed bytes the view paints: the range set's own edits, and the document keeping it
// through edits, undo, redo, load and save, each checked against a per-byte flag model.

#include "TVxChangedBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {
using TRanges = std::vector<TVxChangedBytes::TRange>;

// One flag per byte; a replacement erases oldCount flags and puts newCount set ones.
void ApplyFlags(std::vector<bool> &flags, int32_t offset, int32_t oldCount, int32_t newCount)
{
    flags.erase(flags.begin() + offset, flags.begin() + offset + oldCount);
    flags.insert(flags.begin() + offset, static_cast<size_t>(newCount), true);
}

// The ranges as flags over `size` bytes, failing on ranges that are empty, unsorted,
// overlapping, touching (should have merged) or beyond the end.
std::vector<bool> FlagsOf(const TRanges &ranges, int32_t size)
{
    std::vector<bool> flags(static_cast<size_t>(size), false);
    int32_t prevEnd = -1;
    for (const auto &r : ranges) {
        EXPECT_LT(r.First, r.End);
        EXPECT_GT(r.First, prevEnd);
        EXPECT_LE(r.End, size);
        for (int32_t i = std::max(r.First, 0); i < std::min(r.End, size); ++i)
            flags[static_cast<size_t>(i)] = true;
        prevEnd = r.End;
    }
    return flags;
}
} // namespace

TEST(ChangedBytesTest, OverwritesMergeWhenTheyTouchOrOverlap)
{
    TVxChangedBytes c;
    c.Overwrite(10, 2);
    c.Overwrite(20, 5);
    EXPECT_EQ(c.Ranges(), (TRanges{{10, 12}, {20, 25}}));
    c.Overwrite(12, 1); // touches the first
    EXPECT_EQ(c.Ranges(), (TRanges{{10, 13}, {20, 25}}));
    c.Overwrite(5, 30); // swallows both
    EXPECT_EQ(c.Ranges(), (TRanges{{5, 35}}));
    c.Overwrite(0, 0);
    EXPECT_EQ(c.Ranges(), (TRanges{{5, 35}}));
    EXPECT_TRUE(c.Contains(5));
    EXPECT_TRUE(c.Contains(34));
    EXPECT_FALSE(c.Contains(35));
    EXPECT_FALSE(c.Contains(4));
    c.Clear();
    EXPECT_TRUE(c.Empty());
}

TEST(ChangedBytesTest, InsertShiftsWhatFollowsAndDeleteClosesTheGap)
{
    TVxChangedBytes c;
    c.Overwrite(10, 5);  // [10,15)
    c.Overwrite(30, 2);  // [30,32)
    c.Insert(12, 3);     // inside the first: it grows; the second moves
    EXPECT_EQ(c.Ranges(), (TRanges{{10, 18}, {33, 35}}));
    c.Insert(0, 1);
    EXPECT_EQ(c.Ranges(), (TRanges{{0, 1}, {11, 19}, {34, 36}}));
    c.Delete(19, 15);    // the bytes between the last two: they join
    EXPECT_EQ(c.Ranges(), (TRanges{{0, 1}, {11, 21}}));
    c.Delete(5, 10);     // takes the head of the second range
    EXPECT_EQ(c.Ranges(), (TRanges{{0, 1}, {5, 11}}));
    c.Delete(0, 20);
    EXPECT_TRUE(c.Empty());
}

TEST(ChangedBytesTest, IntersectingClipsToTheAskedSpan)
{
    TVxChangedBytes c;
    c.Overwrite(0, 4);
    c.Overwrite(10, 10);
    c.Overwrite(40, 1);
    EXPECT_EQ(c.Intersecting(2, 15), (TRanges{{2, 4}, {10, 15}}));
    EXPECT_EQ(c.Intersecting(20, 40), TRanges{});
    EXPECT_EQ(c.Intersecting(19, 41), (TRanges{{19, 20}, {40, 41}}));
}

TEST(ChangedBytesTest, RandomEditsMatchAFlagPerByte)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        TVxChangedBytes c;
        std::vector<bool> flags(200, false);
        for (int step = 0; step < 80; ++step) {
            const int32_t size = static_cast<int32_t>(flags.size());
            const int32_t at = static_cast<int32_t>(rng() % (size + 1));
            const int32_t room = size - at;
            const int32_t oldCount = room ? static_cast<int32_t>(rng() % std::min(room, 12) + (rng() % 2)) : 0;
            const int32_t oldN = std::min(oldCount, room);
            const int32_t newN = static_cast<int32_t>(rng() % 12);
            switch (rng() % 4) {
            case 0:
                c.Overwrite(at, std::min(newN, room));
                ApplyFlags(flags, at, std::min(newN, room), std::min(newN, room));
                break;
            case 1:
                c.Insert(at, newN);
                ApplyFlags(flags, at, 0, newN);
                break;
            case 2:
                c.Delete(at, oldN);
                flags.erase(flags.begin() + at, flags.begin() + at + oldN);
                break;
            default:
                c.Replace(at, oldN, newN);
                ApplyFlags(flags, at, oldN, newN);
                break;
            }
            ASSERT_EQ(FlagsOf(c.Ranges(), static_cast<int32_t>(flags.size())), flags)
                << "round " << round << " step " << step;
            const int32_t lo = static_cast<int32_t>(rng() % (flags.size() + 1));
            const int32_t hi = lo + static_cast<int32_t>(rng() % 40);
            for (const auto &r : c.Intersecting(lo, hi)) {
                ASSERT_GE(r.First, lo);
                ASSERT_LE(r.End, hi);
            }
            int32_t inSpan = 0;
            for (int32_t i = lo; i < std::min<int32_t>(hi, static_cast<int32_t>(flags.size())); ++i)
                inSpan += flags[static_cast<size_t>(i)] ? 1 : 0;
            int32_t listed = 0;
            for (const auto &r : c.Intersecting(lo, hi))
                listed += r.End - r.First;
            ASSERT_EQ(listed, inSpan);
        }
    }
}

namespace {
// The document side of the model: each step of the history is the list of replacements it
// made (offset, old count, new count), its undo the inverse replacements newest first.
struct TSplice {
    int32_t Offset, OldCount, NewCount;
};
using TStep = std::vector<TSplice>;

struct TModel {
    std::vector<bool> Flags;
    std::vector<TStep> Undo, Redo;
    int64_t SavedAt = 0;

    void Forward(const TStep &s)
    {
        for (const TSplice &p : s)
            ApplyFlags(Flags, p.Offset, p.OldCount, p.NewCount);
    }
    void Backward(const TStep &s)
    {
        for (auto it = s.rbegin(); it != s.rend(); ++it)
            ApplyFlags(Flags, it->Offset, it->NewCount, it->OldCount);
    }
    void CheckSaved()
    {
        if (static_cast<int64_t>(Undo.size()) == SavedAt)
            std::fill(Flags.begin(), Flags.end(), false);
    }
    void Edit(const TStep &s)
    {
        Redo.clear();
        if (SavedAt > static_cast<int64_t>(Undo.size()))
            SavedAt = -1;
        Forward(s);
        Undo.push_back(s);
    }
};
} // namespace

TEST(ChangedBytesTest, DocumentFollowsEditsUndoRedoAndSavesLikeTheModel)
{
    TScratchDir dir;
    std::mt19937 rng(11);
    const std::vector<uint8_t> bytes = Pattern(600, 5);
    const uint8_t fill[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (int round = 0; round < 60; ++round) {
        TVxDocument doc;
        LoadDocument(doc, dir.File("d.bin"), bytes);
        ASSERT_TRUE(doc.ChangedBytes().Empty());
        TModel m;
        m.Flags.assign(bytes.size(), false);
        for (int step = 0; step < 70; ++step) {
            const int32_t size = doc.FileSize();
            const int32_t at = static_cast<int32_t>(rng() % size);
            const int32_t n = 1 + static_cast<int32_t>(rng() % std::min(16, size - at));
            const int32_t k = 1 + static_cast<int32_t>(rng() % 16);
            const unsigned what = rng() % 11;
            if (what == 0) {
                doc.OverwriteByte(at, fill[k - 1], true);
                m.Edit({{at, 1, 1}});
            } else if (what == 1) {
                doc.InsertByte(at, 0x55, true);
                m.Edit({{at, 0, 1}});
            } else if (what == 2 && size > 100) {
                doc.DeleteByte(at, true);
                m.Edit({{at, 1, 0}});
            } else if (what == 3 && size > 100) {
                doc.DeleteRange(at, at + n - 1, true);
                m.Edit({{at, n, 0}});
            } else if (what == 4) {
                doc.InsertBlock(at, fill, k, true, false);
                m.Edit({{at, 0, k}});
            } else if (what == 5) {
                doc.ReplaceRange(at, at + n - 1, fill, k, true, false);
                m.Edit({{at, n, k}});
            } else if (what == 6 && at + 40 < size) {
                // Two splices as one step; the second's offset in the document after the first.
                doc.ReplaceRanges({TVxSplice{at, n, fill, k}, TVxSplice{at + 30, 2, fill, 1}}, true, true);
                m.Edit({{at, n, k}, {at + 30 + k - n, 2, 1}});
            } else if (what <= 8 && !m.Undo.empty()) {
                doc.Undo();
                m.Backward(m.Undo.back());
                m.Redo.push_back(m.Undo.back());
                m.Undo.pop_back();
                m.CheckSaved();
            } else if (what == 9 && !m.Redo.empty()) {
                doc.Redo();
                m.Forward(m.Redo.back());
                m.Undo.push_back(m.Redo.back());
                m.Redo.pop_back();
                m.CheckSaved();
            } else if (what == 10) {
                const bool keep = rng() % 4 != 0;
                ASSERT_TRUE(doc.SaveToFile(dir.File("d.bin"), keep));
                if (!keep) {
                    m.Undo.clear();
                    m.Redo.clear();
                }
                m.SavedAt = static_cast<int64_t>(m.Undo.size());
                m.CheckSaved();
            }
            ASSERT_EQ(doc.FileSize(), static_cast<int32_t>(m.Flags.size())) << "round " << round << " step " << step;
            ASSERT_EQ(doc.Modified(), static_cast<int64_t>(m.Undo.size()) != m.SavedAt);
            ASSERT_EQ(FlagsOf(doc.ChangedBytes().Ranges(), doc.FileSize()), m.Flags)
                << "round " << round << " step " << step;
            if (!doc.Modified()) {
                ASSERT_TRUE(doc.ChangedBytes().Empty());
            }
        }
    }
}

TEST(ChangedBytesTest, UndoToTheSaveClearsAndRedoBringsTheEditsBack)
{
    TScratchDir dir;
    TVxDocument doc;
    LoadDocument(doc, dir.File("d.bin"), Pattern(1000, 2));
    doc.OverwriteByte(5, 1, true);
    ASSERT_TRUE(doc.SaveToFile(dir.File("d.bin"), true));
    EXPECT_TRUE(doc.ChangedBytes().Empty());
    doc.OverwriteByte(100, 1, true);
    doc.InsertBlock(200, reinterpret_cast<const uint8_t *>("abc"), 3, true, false);
    EXPECT_EQ(doc.ChangedBytes().Ranges(), (TRanges{{100, 101}, {200, 203}}));
    doc.Undo();
    EXPECT_EQ(doc.ChangedBytes().Ranges(), (TRanges{{100, 101}}));
    doc.Undo();
    EXPECT_TRUE(doc.ChangedBytes().Empty());
    doc.Undo(); // past the save: the byte it rewrote differs from the file
    EXPECT_EQ(doc.ChangedBytes().Ranges(), (TRanges{{5, 6}}));
    doc.Redo();
    EXPECT_TRUE(doc.ChangedBytes().Empty());
    doc.Redo();
    doc.Redo();
    EXPECT_EQ(doc.ChangedBytes().Ranges(), (TRanges{{100, 101}, {200, 203}}));
    LoadDocument(doc, dir.File("e.bin"), Pattern(10, 1));
    EXPECT_TRUE(doc.ChangedBytes().Empty());
}
