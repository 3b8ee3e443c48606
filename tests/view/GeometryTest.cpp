// Grid geometry: widths and heights from the measured units, the view options, and the
// pixel/cell arithmetic under scrolling.

#include "TVxCells.h"
#include "TVxGridGeometry.h"
#include "ViewTestSupport.h"

#include <QFontMetrics>
#include <QImage>

#include <filesystem>
#include <fstream>

namespace {
// The byte columns that carry the gap after their group, for each grouping.
const std::vector<std::vector<int>> kWideColumns = {
    {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, // cb1byte
    {3, 5, 7, 9, 11, 13, 15, 17},                             // cb2byte
    {5, 9, 13, 17},                                           // cb4byte
    {9, 17},                                                  // cb8byte
    {17},                                                     // cb16byte
};

// The address column's width is checked on its own (ExpectRoomForAddresses).
std::vector<int> ExpectedWidths(int cw, int addressWidth, TVxColumnBytes cb, bool hideHeader, bool hideBytes)
{
    std::vector<int> w(20, 2 * cw);
    for (int col : kWideColumns[size_t(cb)])
        w[size_t(col)] = 3 * cw;
    w[0] = hideHeader ? 0 : addressWidth;
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

// Any address of `digits` hexadecimal digits and its ":" fits the address column with the
// margin to its left, as the control's font measures the text and in character cells.
void ExpectRoomForAddresses(const TVxHexcavator &view, int digits)
{
    const QFontMetrics fm(view.font());
    const int room = view.ColWidth(0) - TVxGridGeometry::kAddressMargin;
    EXPECT_GE(room, (digits + 1) * view.CharWidth()) << digits << " digits";
    for (QChar c : QStringLiteral("0123456789ABCDEF"))
        EXPECT_GE(room, fm.horizontalAdvance(QString(digits, c) + QLatin1Char(':'))) << digits << " digits of " << c.toLatin1();
}

void MakeSparseFile(const std::string &path, uintmax_t size)
{
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, size);
}
} // namespace

TEST(GridGeometry, FixedSysUnitsAndPixelArithmetic)
{
    TVxGridGeometry g;
    g.Layout(8, 18, false, false, cb1byte, 7, 8 * 8);
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

    ExpectRoomForAddresses(*View, 7);
    const int address = View->ColWidth(0);
    for (TVxColumnBytes cb : {cb1byte, cb2byte, cb4byte, cb8byte, cb16byte}) {
        View->SetColumnBytes(cb);
        EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, address, cb, false, false)) << int(cb);
    }
    View->SetColumnBytes(cb1byte);

    View->SetHideOffsetHeader(true);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, address, cb1byte, true, false));
    EXPECT_EQ(View->RowHeight(0), 0);
    View->SetHideOffsetHeader(false);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(cw, address, cb1byte, false, false));
    EXPECT_EQ(View->RowHeight(0), View->DefaultRowHeight());

    View->SetHideByteView(true);
    EXPECT_EQ(View->ColWidth(19), 0);

    // A larger font: every size follows it.
    QFont big = View->font();
    big.setPointSize(big.pointSize() * 2);
    View->setFont(big);
    const int bigCw = QFontMetrics(big).horizontalAdvance(QLatin1Char('W'));
    EXPECT_GT(bigCw, cw);
    ExpectRoomForAddresses(*View, 7);
    EXPECT_EQ(Widths(View->Geometry()), ExpectedWidths(bigCw, View->ColWidth(0), cb1byte, false, true));
}

TEST(CellsTest, RowsAndEndColumnFollowTheSize)
{
    EXPECT_EQ(TVxCells::RowCountFor(0), 2);
    EXPECT_EQ(TVxCells::EndColFor(0), 2);
    EXPECT_EQ(TVxCells::RowCountFor(15), 2);
    EXPECT_EQ(TVxCells::EndColFor(15), 17);
    EXPECT_EQ(TVxCells::RowCountFor(16), 3);
    EXPECT_EQ(TVxCells::EndColFor(16), 2);
    EXPECT_EQ(TVxCells::RowCountFor(40), 4);
    EXPECT_EQ(TVxCells::EndColFor(40), 10);
    EXPECT_EQ(TVxCells::RowCountFor(2147483647), 2147483647 / 16 + 2);
    EXPECT_EQ(TVxCells::CellToOffset(19, 3), 32);
    EXPECT_EQ(TVxCells::CellToOffset(5, 2), 19);
    EXPECT_EQ(TVxCells::CellToOffset(1, 2), -1);
    EXPECT_EQ(TVxCells::OffsetToCell(19), (TVxCell{5, 2}));
}

TEST(GridGeometry, AddressesTakeAnEighthDigitFromOffset0x10000000On)
{
    EXPECT_EQ(TVxGridGeometry::AddressDigitsFor(TVxCells::RowCountFor(0)), 7);
    // The end position's row counts: a document of 0x10000000 bytes shows that address.
    EXPECT_EQ(TVxGridGeometry::AddressDigitsFor(TVxCells::RowCountFor(0x0FFFFFFF)), 7);
    EXPECT_EQ(TVxGridGeometry::AddressDigitsFor(TVxCells::RowCountFor(0x10000000)), 8);
    EXPECT_EQ(TVxGridGeometry::AddressDigitsFor(TVxCells::RowCountFor(INT32_MAX)), 8);
}

// A sparse file: loading copies its holes in the kernel, a fraction of a second for 256 MiB.
TEST_F(TViewTest, TheAddressColumnFollowsTheDocumentsLastAddress)
{
    const int narrow = View->ColWidth(0), total = View->Geometry().TotalWidth();
    const std::string path = Dir.File("big.bin");
    MakeSparseFile(path, 0x10000010);
    View->LoadFromFile(path);
    ShowRows(20);
    ExpectRoomForAddresses(*View, 8);
    EXPECT_GT(View->ColWidth(0), narrow);
    EXPECT_EQ(View->Geometry().TotalWidth(), total + View->ColWidth(0) - narrow); // only that column widens

    // Painted: "10000010:" takes nine character cells, each with ink, right of a blank margin.
    const int32_t last = View->RowCount() - 1;
    View->SetTopRow(last);
    const QImage img = View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect cell = View->CellRect(0, last);
    ASSERT_FALSE(cell.isEmpty());
    const int cw = View->CharWidth(), x0 = cell.right() + 1 - 9 * cw;
    EXPECT_GE(x0, TVxGridGeometry::kAddressMargin);
    auto ink = [&](int left, int width) {
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = std::max(0, left); x < left + width; ++x)
                n += img.pixelColor(x, y) == View->AddressColor();
        return n;
    };
    EXPECT_EQ(ink(0, x0), 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_GT(ink(x0 + i * cw, cw), 0) << "character " << i;

    // Shrinking below 0x10000000 bytes gives the digit back.
    View->DeleteRange(0x0FFFFFF0, View->FileSize() - 1, false);
    EXPECT_EQ(View->FileSize(), 0x0FFFFFF0);
    EXPECT_EQ(View->ColWidth(0), narrow);
}
