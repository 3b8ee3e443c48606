// Bookmarks following the bytes: random edits against a model in which every byte has an
// identity and a bookmark is the set of bytes it marks; every edit undone by the reverse
// edit and Restore gives back the list exactly; the queries against brute force.

#include "TVxBookmarks.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

// Readable failures.
void PrintTo(const TVxBookmark &m, std::ostream *os)
{
    *os << "#" << m.Id << " " << m.Name << " [" << m.Offset << "+" << m.Length << "]";
}

namespace {
struct TModel {
    std::vector<int> Bytes; // byte identities in document order
    std::vector<std::set<int>> Marks;
    int NextByte = 0;

    std::vector<std::pair<int32_t, int32_t>> Ranges() const
    {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (const std::set<int> &m : Marks) {
            if (m.empty())
                continue;
            int32_t first = -1, n = 0;
            for (size_t i = 0; i < Bytes.size(); ++i)
                if (m.count(Bytes[i])) {
                    if (first < 0)
                        first = int32_t(i);
                    ++n;
                }
            out.emplace_back(first, n);
        }
        std::sort(out.begin(), out.end());
        return out;
    }
};

std::vector<std::pair<int32_t, int32_t>> Ranges(const TVxBookmarks &b)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const TVxBookmark &m : b.All())
        out.emplace_back(m.Offset, m.Length);
    std::sort(out.begin(), out.end());
    return out;
}
} // namespace

TEST(BookmarksTest, EditsMoveGrowCutAndRemoveAsTheMarkedBytesDo)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 30; ++round) {
        TModel model;
        TVxBookmarks marks;
        for (int i = 0; i < 200; ++i)
            model.Bytes.push_back(model.NextByte++);
        for (int i = 0; i < 12; ++i) {
            const int32_t at = int32_t(rng() % 190), len = 1 + int32_t(rng() % 10);
            if (marks.Toggle(at, len, "m", 0)) {
                std::set<int> s(model.Bytes.begin() + at, model.Bytes.begin() + at + len);
                model.Marks.push_back(s);
            } else {
                // Toggled off: drop the model's mark over exactly those bytes.
                const std::set<int> s(model.Bytes.begin() + at, model.Bytes.begin() + at + len);
                model.Marks.erase(std::find(model.Marks.begin(), model.Marks.end(), s));
            }
        }
        for (int step = 0; step < 40; ++step) {
            const int32_t size = int32_t(model.Bytes.size());
            const std::vector<TVxBookmark> saved = marks.All();
            if (rng() % 2 || size < 20) {
                const int32_t at = int32_t(rng() % uint32_t(size + 1)), n = 1 + int32_t(rng() % 8);
                const std::vector<TVxBookmark> before = marks.Insert(at, n);
                // New bytes join every mark that holds the bytes on both sides of them.
                std::vector<int> fresh;
                for (int i = 0; i < n; ++i)
                    fresh.push_back(model.NextByte++);
                for (std::set<int> &m : model.Marks)
                    if (at > 0 && at < size && m.count(model.Bytes[size_t(at - 1)]) && m.count(model.Bytes[size_t(at)]))
                        m.insert(fresh.begin(), fresh.end());
                model.Bytes.insert(model.Bytes.begin() + at, fresh.begin(), fresh.end());
                ASSERT_EQ(Ranges(marks), model.Ranges()) << "insert " << at << "+" << n;
                // Its undo: the same bytes deleted again, then the bookmarks it kept restored.
                TVxBookmarks undone = marks;
                undone.Delete(at, n);
                undone.Restore(before);
                EXPECT_EQ(undone.All(), saved);
            } else {
                const int32_t at = int32_t(rng() % uint32_t(size - 5)), n = 1 + int32_t(rng() % std::min(30, size - at));
                const std::vector<TVxBookmark> before = marks.Delete(at, n);
                for (std::set<int> &m : model.Marks)
                    for (int32_t i = at; i < at + n; ++i)
                        m.erase(model.Bytes[size_t(i)]);
                model.Bytes.erase(model.Bytes.begin() + at, model.Bytes.begin() + at + n);
                ASSERT_EQ(Ranges(marks), model.Ranges()) << "delete " << at << "+" << n;
                TVxBookmarks undone = marks;
                undone.Insert(at, n);
                undone.Restore(before);
                EXPECT_EQ(undone.All(), saved) << "undo of delete " << at << "+" << n;
            }
            model.Marks.erase(std::remove_if(model.Marks.begin(), model.Marks.end(),
                                             [](const std::set<int> &m) { return m.empty(); }),
                              model.Marks.end());
        }
    }
}

TEST(BookmarksTest, NextAndPreviousWrapAndPaintedRangesFindLongMarks)
{
    TVxBookmarks marks;
    EXPECT_EQ(marks.Next(0), nullptr);
    marks.Add(100, 1, "a", 1);
    marks.Add(10, 500, "long", 2); // starts early, reaches far
    marks.Add(300, 4, "b", 3);
    EXPECT_EQ(marks.Next(10)->Offset, 100);
    EXPECT_EQ(marks.Next(300)->Offset, 10) << "wraps to the first";
    EXPECT_EQ(marks.Previous(100)->Offset, 10);
    EXPECT_EQ(marks.Previous(10)->Offset, 300) << "wraps to the last";
    const std::vector<TVxBookmark> shown = marks.Intersecting(400, 416);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Name, "long");
    EXPECT_EQ(marks.Intersecting(99, 101).size(), 2u);
    EXPECT_EQ(marks.Intersecting(0, 10).size(), 0u);
    // The same range again renames it, keeping its identity.
    const int64_t id = marks.Add(300, 4, "c", 4);
    EXPECT_EQ(marks.Count(), 3u);
    EXPECT_EQ(marks.Find(id)->Name, "c");
}

// Through the document: every kind of edit moves the bookmarks, and undo and redo walk them
// back and forth exactly, groups and typed bytes included.
TEST(BookmarksTest, ASpliceListMovesThemAsItsSplicesOneByOne)
{
    // Against the splices applied one at a time, each a Delete and an Insert at its place
    // (one of equal sizes moving nothing): the same bookmarks, and each one any splice cut or
    // removed given back once, as it stood before the list.
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        TVxBookmarks marks;
        for (int i = 0; i < 15; ++i)
            marks.Add(int32_t(rng() % 300), 1 + int32_t(rng() % 40), "m", 0);
        std::vector<TVxSplice> splices;
        for (int32_t at = int32_t(rng() % 20); at < 320; at += int32_t(rng() % 30)) {
            const int32_t oldCount = int32_t(rng() % 12), newCount = int32_t(rng() % 12);
            if (oldCount + newCount > 0)
                splices.push_back(TVxSplice{at, oldCount, nullptr, newCount});
            at += oldCount;
        }
        TVxBookmarks oneByOne = marks;
        std::set<int64_t> cut;
        int64_t shift = 0;
        for (const TVxSplice &s : splices) {
            if (s.OldCount != s.NewCount) {
                const auto at = int32_t(s.Offset + shift);
                for (const TVxBookmark &m : oneByOne.Delete(at, s.OldCount))
                    cut.insert(m.Id);
                for (const TVxBookmark &m : oneByOne.Insert(at, s.NewCount))
                    cut.insert(m.Id);
            }
            shift += s.NewCount - s.OldCount;
        }
        const std::vector<TVxBookmark> old = marks.All();
        const std::vector<TVxBookmark> before = marks.Splice(splices);
        ASSERT_EQ(marks.All(), oneByOne.All()) << "round " << round;
        std::set<int64_t> ids;
        for (const TVxBookmark &b : before) {
            EXPECT_TRUE(ids.insert(b.Id).second) << "listed twice";
            EXPECT_EQ(b, *std::find_if(old.begin(), old.end(), [&](const TVxBookmark &m) { return m.Id == b.Id; }));
        }
        EXPECT_EQ(ids, cut) << "round " << round;
    }
}

TEST(BookmarksTest, TheDocumentsEditsUndoAndRedoCarryTheBookmarks)
{
    TScratchDir dir;
    TPrivateTempDir tmp;
    TVxDocument doc;
    LoadDocument(doc, dir.File("f.bin"), Pattern(100000, 4));
    TVxBookmarks &marks = doc.Bookmarks();
    marks.Add(10, 5, "a", 1);
    marks.Add(50000, 100, "b", 2);
    marks.Add(90000, 1, "c", 3);
    std::vector<std::vector<TVxBookmark>> states{marks.All()};
    const uint8_t bytes[300] = {};

    doc.DeleteRange(8, 12, true); // cuts "a" to its last two bytes
    states.push_back(marks.All());
    doc.InsertBlock(50050, bytes, 300, true, false); // inside "b": it grows
    states.push_back(marks.All());
    doc.ReplaceRange(89000, 90500, bytes, 10, true, false); // covers "c": gone
    states.push_back(marks.All());
    doc.ReplaceRanges({TVxSplice{5, 3, bytes, 0}, TVxSplice{40000, 20000, bytes, 1}}, true, true); // a group
    states.push_back(marks.All());
    doc.LoadCache(20);
    doc.DeleteByte(20, true);
    doc.InsertByte(3, 0xAA, true);
    states.push_back(marks.All());
    EXPECT_EQ(marks.Count(), 1u) << "the group's second splice covered b";

    // Back to the start, the typed bytes two steps, then forward again.
    for (size_t i = states.size() - 1; i-- > 0;) {
        doc.Undo();
        if (i == states.size() - 2)
            doc.Undo();
        EXPECT_EQ(marks.All(), states[i]) << "undo to state " << i;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        doc.Redo();
        if (i == states.size() - 1)
            doc.Redo();
        EXPECT_EQ(marks.All(), states[i]) << "redo to state " << i;
    }
}
