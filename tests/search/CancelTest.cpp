// Search and replace-all stopped by the user: nothing found, nothing replaced, no record.

#include "../engine/TestProgress.h"
#include "TVxReplacer.h"
#include "TVxSearcher.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct CancelTest : ::testing::Test {
    TScratchDir dir;
    TVxDocument doc;
    TRecordingProgress progress;
    std::vector<uint8_t> data;

    void SetUp() override
    {
        // Matches all over 17 MiB, so the replace-all rewrites the document in several chunks.
        data = Pattern((17 << 20) + 5, 12);
        for (size_t i = 0; i + 4 < data.size(); i += 4099)
            std::copy_n("abcd", 4, data.begin() + static_cast<std::ptrdiff_t>(i));
        LoadDocument(doc, dir.File("c.bin"), data);
        doc.OverwriteByte(3, 'x', true); // one earlier record
        data[3] = 'x';
        doc.SetProgress(&progress);
    }
};
} // namespace

TEST_F(CancelTest, CancelledSearchFindsNothingAndReportsOnTheWay)
{
    TVxSearcher searcher(doc);
    EXPECT_EQ(searcher.Search("not in there!", 0, doc.FileSize() - 1, false, false), -1);
    EXPECT_TRUE(progress.Monotone());
    EXPECT_GT(progress.Calls.size(), 10u);
    progress.Calls.clear();
    progress.Cancellable = 0;
    progress.CancelAt = 5;
    EXPECT_THROW(searcher.Search("not in there!", doc.FileSize() - 1, 0, true, true), TVxCancelled);
    EXPECT_EQ(DocBytes(doc), data);
}

TEST_F(CancelTest, CancelledReplaceAllLeavesTheDocumentAndHistoryAsBefore)
{
    // A dry run on a twin document counts the reports: the scan's, then the rewrite's.
    TVxDocument twin;
    LoadDocument(twin, dir.File("twin.bin"), data);
    TRecordingProgress count;
    twin.SetProgress(&count);
    ASSERT_GT(TVxReplacer(twin).Replace(0, "abcd", "XYZ", true, false).Count, 4000);
    const int total = count.Cancellable;
    int scan = 0;
    while (count.Calls[size_t(scan)].Done != count.Calls[size_t(scan)].Total)
        ++scan;
    ASSERT_GT(total, scan + 2) << "the rewrite reports too";

    for (int n : {1, scan / 2, scan + 2, scan + 3, total}) {
        progress.Cancellable = 0;
        progress.CancelAt = n;
        EXPECT_THROW(TVxReplacer(doc).Replace(0, "abcd", "XYZ", true, false), TVxCancelled) << n;
        EXPECT_EQ(doc.UndoCount(), 1) << n;
        EXPECT_EQ(DocBytes(doc), data) << n;
    }
    progress.CancelAt = 0;
    EXPECT_GT(TVxReplacer(doc).Replace(0, "abcd", "XYZ", true, false).Count, 4000);
    doc.Undo();
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(DocBytes(doc), data);
}
