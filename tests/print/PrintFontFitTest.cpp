// The rule that makes the print font smaller until a whole line fits across the page, with
// made-up cell widths: linear ones, ones that move only in whole points, ones that ignore
// the size.

#include "TPrintFontFit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr int32_t kLeft = 472; // 10 mm at 1200 dpi
constexpr int32_t kDump = 56;  // address and 16 single-byte cells

// Cell width of a face whose "W" is 0.6 em, at 1200 dpi: tenths of a point to dots.
int32_t Linear(int32_t tenths) { return tenths * 6 * 1200 / (10 * 72 * 10); }

struct TMeasured {
    std::vector<int32_t> Sizes;
    std::function<int32_t(int32_t)> Width;
    std::function<int32_t(int32_t)> Measure()
    {
        return [this](int32_t t) {
            Sizes.push_back(t);
            return Width(t);
        };
    }
};
} // namespace

TEST(PrintFontFit, ALineThatFitsKeepsItsSizeAfterOneMeasurement)
{
    TMeasured m{{}, Linear};
    const int32_t page = int32_t(TPrintFontFit::LineWidth(kLeft, kDump, Linear(140)));
    EXPECT_EQ(TPrintFontFit::Fit(140, kLeft, kDump, page, m.Measure()), 140); // exactly the page
    EXPECT_EQ(m.Sizes, std::vector<int32_t>{140});
}

TEST(PrintFontFit, ATooWideLineGetsTheLargestSizeThatFits)
{
    // A4 across at 1200 dpi is 9921 dots; 73 cells of a 14-point face need 10220 with the margin.
    ASSERT_GT(TPrintFontFit::LineWidth(kLeft, kDump, Linear(140)), 9921);
    for (int32_t page : {9921, 10200, 8000, 6000, 4900}) {
        TMeasured m{{}, Linear};
        const int32_t t = TPrintFontFit::Fit(140, kLeft, kDump, page, m.Measure());
        EXPECT_LT(t, 140) << page;
        EXPECT_LE(TPrintFontFit::LineWidth(kLeft, kDump, Linear(t)), page) << page;
        EXPECT_GT(TPrintFontFit::LineWidth(kLeft, kDump, Linear(t + 1)), page) << page;
        EXPECT_LE(m.Sizes.size(), 10u) << page;
    }
}

TEST(PrintFontFit, WidthsThatMoveInWholePointsStillEndOnAFittingSize)
{
    // Hinted faces keep one advance over a range of sizes: the search must keep descending.
    auto stepped = [](int32_t tenths) { return Linear(tenths / 10 * 10); };
    TMeasured m{{}, stepped};
    const int32_t t = TPrintFontFit::Fit(140, kLeft, kDump, 9921, m.Measure());
    EXPECT_LE(TPrintFontFit::LineWidth(kLeft, kDump, stepped(t)), 9921);
    EXPECT_GT(TPrintFontFit::LineWidth(kLeft, kDump, stepped(t + 1)), 9921);
    EXPECT_EQ(t % 10, 9); // the largest tenth of the whole point that fits
}

TEST(PrintFontFit, NothingSmallerThanTheMinimumAndNeverLarger)
{
    // A page too narrow for any size: the minimum, reached in a bounded number of tries.
    TMeasured m{{}, Linear};
    EXPECT_EQ(TPrintFontFit::Fit(140, kLeft, kDump, kLeft + 100, m.Measure()), TPrintFontFit::kMinimumTenths);
    EXPECT_LE(m.Sizes.size(), 10u);
    // A face whose width does not follow the size at all: the search still ends.
    TMeasured fixed{{}, [](int32_t) { return 200; }};
    EXPECT_EQ(TPrintFontFit::Fit(140, kLeft, kDump, 9921, fixed.Measure()), TPrintFontFit::kMinimumTenths);
    EXPECT_LE(fixed.Sizes.size(), size_t(140 - TPrintFontFit::kMinimumTenths + 1));
    // A font already below the minimum is left as it is, fitting or not.
    EXPECT_EQ(TPrintFontFit::Fit(50, kLeft, kDump, kLeft + 100, Linear), 50);
}

TEST(PrintFontFit, NextSizeScalesByTheRoomAndAlwaysDescends)
{
    EXPECT_EQ(TPrintFontFit::NextTenths(140, 1000, 900, 60), 126);
    EXPECT_EQ(TPrintFontFit::NextTenths(140, 1000, 999, 60), 139); // rounding would keep 140
    EXPECT_EQ(TPrintFontFit::NextTenths(140, 1000, 100, 60), 60);
    EXPECT_EQ(TPrintFontFit::NextTenths(140, 1000, -5, 60), 60); // margin wider than the page
    // Large sizes and widths do not overflow.
    EXPECT_EQ(TPrintFontFit::NextTenths(1000000, 4000000000LL, 2000000000LL, 60), 500000);
}
