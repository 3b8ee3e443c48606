// Grid geometry: widths and heights from the measured units, the view options, and the
// pixel/cell arithmetic under scrolling.

#include "TVxGridGeometry.h"
#include "ViewTestSupport.h"

#include <QFontMetrics>

namespace {
// The byte columns that carry the gap after their group, for each grouping.
const std::vector<std::vector<int>> kWideColumns = {
    {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, // cb1byte
    {3, 5, 7, 9, 11, 13, 15, 17},                             // cb2byte
    {5, 9, 13, 17},                                           // cb4byte
    {9, 17},                                                  // cb8byte
    {17},                                                     // cb16byte
};

std::vector<int> ExpectedWidths(int cw, TVxColumnBytes cb, bool hideHeader, bool hideBytes)
{
    std::vector<int> w(20, 2 * cw);
    for (int col : kWideColumns[size_t(cb)])
        w[size_t(col)] = 3 * cw;
    w[0] = hideHeader ? 0 : 8 * cw + 10;
    w[1] = 10;
    w[18] = hideHeader ? 3 * cw : 2 * cw;
    w[19] = hideBytes ? 0 : 16 * cw;
    return w;
}

std::vector<int> Widths(const TVxGridGeometry &g)
{
    std::vector<int> w;
    for (int c = 0; c < 20; ++c)
        w.push_back(g.ColWidth(c));
    return w;
}
} // namespace

TEST(GridGeometry, FixedSysUnitsAndPixelArithmetic)
{
    TVxGridGeometry g;
    g.Layout(8, 18, false, false, cb1byte);
    std::vector<int> expected{74, 10};
    expected.insert(expected.end(), 16, 24);
    expected.push_back(16);
    expected.push_back(128);
    EXPECT_EQ(Widths(g), expected);
    EXPECT_EQ(g.HeaderHeight(), 18);
    EXPECT_EQ(g.RowHeight(5), 18);
    EXPECT_EQ(g.TotalWidth(), 74 + 10 + 16 * 24 + 16 + 128);

    // Pixels to cells, also scrolled sideways.
    EXPECT_EQ(g.ColLeft(0, 2), 0);
    EXPECT_EQ(g.ColLeft(2, 2), 84);
    EXPECT_EQ(g.ColLeft(19, 2), 84 + 16 * 24 + 16);
    EXPECT_EQ(g.ColAt(83, 2), 1);
    EXPECT_EQ(g.ColAt(84, 2), 2);
    EXPECT_EQ(g.ColAt(84 + 24, 2), 3);
    EXPECT_EQ(g.ColAt(-5, 2), 0);
    EXPECT_EQ(g.ColAt(g.TotalWidth(), 2), -1);
    // Scrolled by three columns: the fixed columns stay, column 5 follows them.
    EXPECT_EQ(g.ColLeft(0, 5), 0);
    EXPECT_EQ(g.ColLeft(5, 5), 84);
    EXPECT_LT(g.ColLeft(4, 5), 84);
    EXPECT_EQ(g.ColAt(90, 5), 5);
    // Room for the fixed columns and 4 byte columns.
    EXPECT_EQ(g.VisibleColCount(84 + 4 * 24 + 5, 2), 4);
    EXPECT_EQ(g.MaxLeftCol(g.TotalWidth()), 2);
    EXPECT_EQ(g.MaxLeftCol(84 + 128 + 16 + 24), 17);
    EXPECT_EQ(g.MaxLeftCol(84 + 10), 19);
    // Rows: header 18, then data rows from the top row.
    EXPECT_EQ(g.VisibleRowCount(18 + 20 * 18 + 17), 20);
    EXPECT_EQ(g.RowTop(10, 10), 18);
    EXPECT_EQ(g.RowAt(18 + 3 * 18 + 1, 10), 13);
    EXPECT_EQ(g.RowAt(5, 10), 0);
    EXPECT_EQ(g.RowAt(-1, 10), -1);
}

TEST_F(TViewTest, LayoutFollowsTheMeasuredFontForEveryOption)
{
    const QFontMetrics fm(View->font());
    const int cw = fm.horizontalAdvance(QLatin1Char('W'));
    ASSERT_GT(cw, 0);
    EXPECT_EQ(View->CharWidth(), cw);
    EXPECT_GE(View->DefaultRowHeight(), fm.height());
    EXPECT_EQ(View->RowHeight(0), View->DefaultRowHeight());

    for (TVxColumnBytes cb : {cb1byte, cb2byte, cb4byte, cb8byte, cb16byte}) {
        View->SetColumnBytes(cb);
        EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, cb, false, false)) << int(cb);
    }
    View->SetColumnBytes(cb1byte);

    View->SetHideOffsetHeader(true);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, cb1byte, true, false));
    EXPECT_EQ(View->RowHeight(0), 0);
    View->SetHideOffsetHeader(false);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, cb1byte, false, false));
    EXPECT_EQ(View->RowHeight(0), View->DefaultRowHeight());

    View->SetHideByteView(true);
    EXPECT_EQ(View->ColWidth(19), 0);

    // A larger font: every size follows it.
    QFont big = View->font();
    big.setPointSize(big.pointSize() * 2);
    View->setFont(big);
    const int bigCw = QFontMetrics(big).horizontalAdvance(QLatin1Char('W'));
    EXPECT_GT(bigCw, cw);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(bigCw, cb1byte, false, true));
}
