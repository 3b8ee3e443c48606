// Edits and their history: what each primitive records, what undo restores and where it
// puts the caret, grouped records, and the modified state.

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct EditUndoTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    TRecordingHooks hooks;
    std::vector<uint8_t> data;

    void SetUp() override
    {
        hooks.Attach(doc);
        data = Pattern(100000, 3);
        LoadDocument(doc, dir.File("d.bin"), data);
        hooks.Log.clear();
    }
};
} // namespace

TEST_F(EditUndoTest, ByteRecordsAndTheirReverts)
{
    doc.OverwriteByte(70000, 0x42, true);
    ASSERT_EQ(doc.UndoList().Newest().Kind, ukOverwriteByte);
    EXPECT_EQ(doc.UndoList().Newest().OldByte, data[70000]);
    doc.InsertByte(10, 0x99, true);
    EXPECT_EQ(doc.UndoList().Newest().Kind, ukInsertByte);
    doc.DeleteByte(20, true);
    EXPECT_EQ(doc.UndoList().Newest().Kind, ukDeleteByte);
    EXPECT_EQ(doc.FileSize(), 100000);

    doc.Undo();
    EXPECT_EQ(hooks.Caret, 20);
    doc.Undo();
    doc.LoadCache(90000); // the overwrite's window is gone; undo must still find its byte
    doc.Undo();
    EXPECT_EQ(hooks.Caret, 70000);
    EXPECT_EQ(DocBytes(doc), data);
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(EditUndoTest, TypingAtTheEndAppendsAndOutOfRangeIsIgnored)
{
    doc.OverwriteByte(doc.FileSize(), 1, true);
    doc.DeleteByte(-1, true);
    doc.InsertByte(doc.FileSize() + 1, 1, true);
    EXPECT_EQ(doc.UndoCount(), 0);
    doc.InsertByte(doc.FileSize(), 0x77, true);
    EXPECT_EQ(doc.FileSize(), 100001);
    EXPECT_EQ(doc.ByteAt(100000), 0x77);
}

TEST_F(EditUndoTest, DeleteRangeRecordsTheBytesAndUndoPutsThemBack)
{
    doc.DeleteRange(502, 500, true);
    const auto &r = doc.UndoList().Newest();
    EXPECT_EQ(r.Kind, ukDeleteRange);
    EXPECT_EQ(r.Start, 500);
    EXPECT_EQ(r.End, 502);
    EXPECT_EQ(std::vector<uint8_t>(r.Data.Bytes(), r.Data.Bytes() + 3),
              std::vector<uint8_t>(data.begin() + 500, data.begin() + 503));
    EXPECT_EQ(hooks.Caret, 500);
    EXPECT_EQ(doc.FileSize(), 99997);
    doc.Undo();
    EXPECT_EQ(hooks.Caret, 503); // after the restored bytes
    EXPECT_EQ(DocBytes(doc), data);
}

TEST_F(EditUndoTest, ReplaceRecordsTheOldBytesAndLength)
{
    const uint8_t five[] = {1, 2, 3, 4, 5};
    doc.ReplaceRange(1001, 1000, five, 5, true, true);
    const auto &r = doc.UndoList().Newest();
    EXPECT_EQ(r.Kind, ukReplaceRange);
    EXPECT_EQ(r.Start, 1000);
    EXPECT_EQ(r.End, 1004);
    EXPECT_EQ(r.Count, 2);
    EXPECT_EQ(hooks.Caret, 1005);
    EXPECT_EQ(doc.FileSize(), 100003);
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), data);

    doc.ReplaceRange(10, 19, nullptr, 0, true, false);
    EXPECT_EQ(doc.UndoList().Newest().Kind, ukDeleteRange);
    doc.ReplaceRange(doc.FileSize(), doc.FileSize(), five, 2, true, false); // appends
    EXPECT_EQ(doc.FileSize(), 100000 - 10 + 2);
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), data);
}

TEST_F(EditUndoTest, InsertBlockUndoDeletesItAndPutsTheCaretAtItsStart)
{
    const uint8_t block[] = {9, 8, 7};
    doc.InsertBlock(0, block, 0, true, true); // nothing to insert: nothing recorded
    doc.InsertBlock(doc.FileSize() + 1, block, 3, true, true);
    EXPECT_EQ(doc.UndoCount(), 0);
    doc.InsertBlock(40000, block, 3, true, true);
    EXPECT_EQ(hooks.Caret, 40003);
    EXPECT_EQ(doc.UndoList().Newest().End, 40002);
    doc.UndoStep(false);
    EXPECT_EQ(hooks.Caret, 40000);
    EXPECT_EQ(DocBytes(doc), data);
}

TEST_F(EditUndoTest, GroupRevertsItsMembersInOneStep)
{
    const uint8_t bc[] = {'b', 'c'};
    doc.OverwriteByte(3, 0, true);
    for (int32_t at : {50000, 30000, 20000, 10}) // as replace-all would, from the end
        doc.ReplaceRange(at, at, bc, 2, true, false);
    doc.AddUndo(ukGroup, 0, 0, 0, nullptr, 4);
    EXPECT_EQ(doc.UndoCount(), 6);
    const auto replaced = DocBytes(doc);
    hooks.Log.clear();
    doc.Undo();
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(hooks.Log.back(), "undo:1");
    auto expect = data;
    expect[3] = 0;
    EXPECT_EQ(DocBytes(doc), expect);
    // Redone as one step too, and undone again as one.
    doc.Redo();
    EXPECT_EQ(DocBytes(doc), replaced);
    EXPECT_EQ(doc.UndoCount(), 6);
    EXPECT_EQ(doc.RedoCount(), 0);
    doc.Undo();
    EXPECT_EQ(DocBytes(doc), expect);
}

TEST_F(EditUndoTest, ModifiedFollowsTheHistory)
{
    EXPECT_FALSE(doc.Modified());
    doc.OverwriteByte(0, 1, true);
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_FALSE(doc.Modified()); // back to pristine
    doc.OverwriteByte(0, 1, false); // unrecorded edits are not tracked
    EXPECT_FALSE(doc.Modified());
    doc.OverwriteByte(0, 2, true);
    ASSERT_TRUE(doc.SaveToFile(dir.File("d.bin"), true));
    EXPECT_FALSE(doc.Modified());
    doc.OverwriteByte(1, 2, true);
    EXPECT_TRUE(doc.Modified());
    ASSERT_TRUE(doc.SaveToFile(dir.File("d.bin"), true));
    EXPECT_FALSE(doc.Modified());
    doc.ClearUndo();
    EXPECT_FALSE(doc.Modified());
}

TEST_F(EditUndoTest, UndoWithEmptyHistoryDoesNothing)
{
    doc.Undo();
    EXPECT_TRUE(hooks.Log.empty());
}

TEST_F(EditUndoTest, RedoReplaysEachKindOfRecordAndPutsTheCaretThere)
{
    // One of each record kind, then undo all and redo all: every state comes back in order.
    std::vector<std::vector<uint8_t>> states{DocBytes(doc)};
    const uint8_t block[] = {1, 2, 3, 4, 5};
    doc.OverwriteByte(70000, 0x42, true);
    states.push_back(DocBytes(doc));
    doc.InsertByte(10, 0x99, true);
    states.push_back(DocBytes(doc));
    doc.DeleteByte(20, true);
    states.push_back(DocBytes(doc));
    doc.InsertBlock(50000, block, 5, true, true);
    states.push_back(DocBytes(doc));
    doc.DeleteRange(30000, 80000, true); // beyond the window: through the working copy
    states.push_back(DocBytes(doc));
    doc.ReplaceRange(100, 199, block, 3, true, true);
    states.push_back(DocBytes(doc));
    // Replace-all's shape, inside the window and as one step.
    doc.ReplaceRanges({TVxSplice{0, 2, block, 1}, TVxSplice{40, 1, block, 4}}, true, true);
    states.push_back(DocBytes(doc));
    const int32_t steps = 7;
    const int32_t records = doc.UndoCount();

    for (int32_t i = steps; i > 0; --i) {
        doc.Undo();
        ASSERT_EQ(DocBytes(doc), states[size_t(i - 1)]) << "undo " << i;
    }
    EXPECT_EQ(doc.RedoCount(), records);
    EXPECT_FALSE(doc.Modified());
    for (int32_t i = 1; i <= steps; ++i) {
        doc.Redo();
        ASSERT_EQ(DocBytes(doc), states[size_t(i)]) << "redo " << i;
        if (i == 1) {
            EXPECT_EQ(hooks.Caret, 70000);
        }
        if (i == 6) {
            EXPECT_EQ(hooks.Caret, 103) << "after the replacement, as the edit itself left it";
        }
    }
    EXPECT_EQ(doc.UndoCount(), records);
    EXPECT_EQ(doc.RedoCount(), 0);
    EXPECT_TRUE(doc.Modified());
    doc.Redo(); // nothing left: nothing happens
    EXPECT_EQ(DocBytes(doc), states.back());
}

TEST_F(EditUndoTest, ANewEditOrASaveWithoutHistoryEndsRedoAndModifiedFollowsTheSavedPlace)
{
    const std::string f = dir.File("d.bin");
    doc.OverwriteByte(1, 7, true);
    doc.OverwriteByte(2, 7, true);
    ASSERT_TRUE(doc.SaveToFile(f, true));
    doc.Undo();
    EXPECT_TRUE(doc.Modified()) << "undone past the save";
    doc.Redo();
    EXPECT_FALSE(doc.Modified()) << "redone up to it";
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.RedoCount(), 2);
    doc.InsertByte(0, 9, true); // a new change: the saved state is out of reach for good
    EXPECT_EQ(doc.RedoCount(), 0);
    doc.Undo();
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.RedoCount(), 1);

    // Redo across a save that keeps the history; a save without it clears both lists.
    ASSERT_TRUE(doc.SaveToFile(f, true));
    doc.Redo();
    EXPECT_EQ(DocBytes(doc)[0], 9);
    doc.Undo();
    ASSERT_TRUE(doc.SaveToFile(f, false));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_EQ(doc.RedoCount(), 0);
    EXPECT_FALSE(doc.Modified());
}
