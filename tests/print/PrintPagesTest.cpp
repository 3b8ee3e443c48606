// The page loop on a recording device: what is drawn where, page by page, compared with the
// dump lines and the character text of the rows.

#include "RecordingDevice.h"
#include "TPrintPages.h"
#include "TVxDumpText.h"
#include "TPrintError.h"
#include "../engine/TestSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
constexpr int kDpi = 600;
constexpr int kMargin = 236; // 10 mm at 600 dpi

class TPrintPagesTest : public ::testing::Test {
protected:
    TScratchDir Dir;
    TVxDocument Doc;
    TPrintJob Job;
    int Lh = 0, Cw = 0;

    void SetUp() override
    {
        Job.Title = QStringLiteral("dump.bin");
        Job.Font = QFont(QStringLiteral("FixedSys"));
        Job.Font.setPointSize(14);
        Job.Font.setStyleHint(QFont::Monospace);
        Job.Font.setFixedPitch(true);
        TRecordingDevice probe(kDpi, 1000);
        const QFontMetrics fm(Job.Font, &probe);
        Lh = fm.size(Qt::TextSingleLine, QStringLiteral(" 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")).height();
        Cw = fm.horizontalAdvance(QLatin1Char('W'));
    }

    void Load(const std::vector<uint8_t> &bytes) { LoadDocument(Doc, Dir.File("dump.bin"), bytes); }
    void Load(const std::string &bytes) { Load(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

    // A page that holds exactly `lines` data lines with header and footer on.
    int PageFor(int lines) const { return 2 * kMargin + (lines + 4) * Lh; }

    TPrintResult Print(TRecordingDevice &dev, TPrintProgress *progress = nullptr)
    {
        TRecordingTarget target(dev);
        const TPrintResult r = TPrintPages::Print(Doc, Job, target, progress);
        EXPECT_EQ(target.Title, Job.Title);
        EXPECT_EQ(r == TPrintResult::Printed, target.Ended);
        EXPECT_EQ(r != TPrintResult::Printed, target.Aborted);
        return r;
    }

    // What stands at the left margin of a page, top to bottom: header, dump lines, footer.
    static std::vector<QString> LeftColumn(const TRecordingDevice &dev, int page)
    {
        std::vector<TDrawnText> items = dev.OnPage(page);
        std::vector<QString> out;
        for (const TDrawnText &d : items)
            if (d.X == kMargin)
                out.push_back(d.Text);
        return out;
    }
    // The character text drawn for the data line at baseline y.
    static std::vector<TDrawnText> TextAt(const TRecordingDevice &dev, int page, double y)
    {
        std::vector<TDrawnText> out;
        for (const TDrawnText &d : dev.OnPage(page))
            if (d.X != kMargin && d.Y == y)
                out.push_back(d);
        return out;
    }
    QString Dump(int32_t row) const
    {
        return QString::fromStdString(TVxDumpText::GetDumpLine(const_cast<TVxDocument &>(Doc), Job.First, Job.Last,
                                                               row, Job.GroupSize, Job.HideOffsetHeader));
    }
    int CharLeft(int dumpLength) const { return kMargin + (dumpLength + 1) * Cw; }
};

class TCounting : public TPrintProgress {
public:
    int CancelAtSlot = -1;
    int Slots = 0, Events = 0;
    std::vector<int> Pages;
    void PageStarted(int32_t page) override { Pages.push_back(page); }
    bool Cancelled() override { return Slots++ == CancelAtSlot; }
    void LetEventsThrough() override { ++Events; }
};
} // namespace

TEST_F(TPrintPagesTest, OneByteAndSixBytesPrintOneLineOnOnePage)
{
    Load("A");
    Job.Last = 0;
    TRecordingDevice dev(kDpi, PageFor(10));
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    EXPECT_EQ(dev.Page, 1);
    EXPECT_EQ(LeftColumn(dev, 1), (std::vector<QString>{QStringLiteral("dump.bin"), Dump(0), QStringLiteral("1 ページ")}));
    ASSERT_EQ(dev.Drawn.size(), 4u);
    EXPECT_EQ(dev.Drawn[2].Text, QStringLiteral("A"));
    EXPECT_EQ(dev.Drawn[2].X, CharLeft(Dump(0).size()));

    Load("ABCDEF");
    Job.Last = 5;
    TRecordingDevice six(kDpi, PageFor(10));
    ASSERT_EQ(Print(six), TPrintResult::Printed);
    const std::vector<QString> left = LeftColumn(six, 1);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[1], QStringLiteral("0000000: 41 42 43 44 45 46") + QString(30, QLatin1Char(' ')));
    ASSERT_EQ(six.Drawn.size(), 4u);
    EXPECT_EQ(six.Drawn[2].Text, QStringLiteral("ABCDEF"));
    EXPECT_FALSE(six.Drawn[2].Clip.has_value()); // whole cells need no clip
}

TEST_F(TPrintPagesTest, LPlusOneRowsGiveTwoPagesTheSecondWithOneLine)
{
    constexpr int L = 5;
    Load(Pattern((L + 1) * 16));
    Job.Last = (L + 1) * 16 - 1;
    TRecordingDevice dev(kDpi, PageFor(L));
    TCounting progress;
    ASSERT_EQ(Print(dev, &progress), TPrintResult::Printed);
    EXPECT_EQ(dev.Page, 2);
    EXPECT_EQ(progress.Pages, (std::vector<int>{1, 2}));
    EXPECT_EQ(progress.Slots, 2 * L); // the empty slots of the last page count too
    EXPECT_EQ(progress.Events, 2 * L);
    const std::vector<QString> p1 = LeftColumn(dev, 1), p2 = LeftColumn(dev, 2);
    ASSERT_EQ(p1.size(), size_t(L + 2));
    for (int r = 0; r < L; ++r)
        EXPECT_EQ(p1[size_t(r) + 1], Dump(r));
    EXPECT_EQ(p2, (std::vector<QString>{QStringLiteral("dump.bin"), Dump(L), QStringLiteral("2 ページ")}));
    // The footer stands at the same place on the short last page.
    auto footerY = [&](int page) {
        const auto items = dev.OnPage(page);
        return std::find_if(items.begin(), items.end(), [](const TDrawnText &d) { return d.Text.endsWith(QStringLiteral(" ページ")); })->Y;
    };
    EXPECT_EQ(footerY(1), footerY(2));
}

TEST_F(TPrintPagesTest, ASelectionFromFiveToTwentyShowsBlanksAndClipsTheCharacters)
{
    std::string bytes;
    for (int i = 0; i < 32; ++i)
        bytes += char('a' + i % 26);
    Load(bytes);
    Job.First = 5;
    Job.Last = 20;
    TRecordingDevice dev(kDpi, PageFor(10));
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    const std::vector<QString> left = LeftColumn(dev, 1);
    ASSERT_EQ(left.size(), 4u);
    EXPECT_EQ(left[1], QString(8 + 15, QLatin1Char(' ')).replace(0, 8, QStringLiteral("0000000:")) +
                           QStringLiteral(" 66 67 68 69 6A 6B 6C 6D 6E 6F 70"));
    EXPECT_EQ(left[2], QStringLiteral("0000010: 71 72 73 74 75") + QString(33, QLatin1Char(' ')));

    const int cx0 = CharLeft(left[1].size());
    std::vector<TDrawnText> texts;
    for (const TDrawnText &d : dev.Drawn)
        if (d.X != kMargin)
            texts.push_back(d);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("fghijklmnop"));
    EXPECT_EQ(texts[0].X, cx0 + 5 * Cw);
    EXPECT_EQ(texts[1].Text, QStringLiteral("qrstu"));
    EXPECT_EQ(texts[1].X, cx0);
}

TEST_F(TPrintPagesTest, AShiftJisCharacterSplitAtARowEndShowsInBothRowsClipped)
{
    Load(std::string(15, 'A') + "\x82\xA0" + std::string(15, 'B'));
    Job.Last = 31;
    Job.CharCode = ccSJIS;
    TRecordingDevice dev(kDpi, PageFor(10));
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    const int cx0 = CharLeft(Dump(0).size()), cx1 = cx0 + 16 * Cw;
    std::vector<TDrawnText> texts;
    for (const TDrawnText &d : dev.Drawn)
        if (d.X != kMargin)
            texts.push_back(d);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].Text, QString(15, QLatin1Char('A')));
    EXPECT_EQ(texts[0].X, cx0);
    // The glyph starts in the row's last cell (fitted into two cells) and is cut at the column's end.
    EXPECT_EQ(texts[1].Text, QStringLiteral("あ"));
    EXPECT_GE(texts[1].X, cx0 + 15 * Cw);
    EXPECT_LT(texts[1].X, cx0 + 16 * Cw);
    ASSERT_TRUE(texts[1].Clip.has_value());
    EXPECT_EQ(texts[1].Clip->left(), cx0);
    EXPECT_EQ(texts[1].Clip->right() + 1, cx1);
    EXPECT_EQ(texts[1].Clip->height(), Lh);
    // The next row shows its continuation in the first cell, clipped from the left.
    EXPECT_EQ(texts[2].Text, QStringLiteral("あ"));
    EXPECT_GE(texts[2].X, cx0 - Cw);
    EXPECT_LT(texts[2].X, cx0);
    ASSERT_TRUE(texts[2].Clip.has_value());
    EXPECT_EQ(texts[2].Clip->left(), cx0);
    EXPECT_EQ(texts[3].Text, QString(15, QLatin1Char('B')));
    EXPECT_EQ(texts[3].X, cx0 + Cw);
    EXPECT_EQ(texts[3].Y, texts[2].Y);
}

TEST_F(TPrintPagesTest, HidingTheAddressMovesTheCharacterColumnLeftByItsWidth)
{
    Load("0123456789abcdef");
    Job.Last = 15;
    auto textX = [&](bool hide) {
        Job.HideOffsetHeader = hide;
        TRecordingDevice dev(kDpi, PageFor(10));
        EXPECT_EQ(Print(dev), TPrintResult::Printed);
        EXPECT_EQ(LeftColumn(dev, 1).at(1), Dump(0));
        return dev.Drawn.at(2).X;
    };
    EXPECT_EQ(textX(false) - textX(true), 8 * Cw); // "0000000:"
    EXPECT_TRUE(Dump(0).startsWith(QStringLiteral(" 30 31")));
}

TEST_F(TPrintPagesTest, APageOfFourLinesWithHeaderAndFooterHasNoRoom)
{
    Load(Pattern(100));
    Job.Last = 99;
    TRecordingDevice dev(kDpi, 2 * kMargin + 4 * Lh);
    EXPECT_EQ(Print(dev), TPrintResult::NoRoom);
    EXPECT_TRUE(dev.Drawn.empty());
    // One line height more leaves one line per page.
    TRecordingDevice roomy(kDpi, 2 * kMargin + 5 * Lh);
    EXPECT_EQ(Print(roomy), TPrintResult::Printed);
    EXPECT_EQ(roomy.Page, 7);
}

TEST_F(TPrintPagesTest, CancelAbortsAtTheNextSlotAndARefusedJobThrows)
{
    Load(Pattern(20 * 16));
    Job.Last = 20 * 16 - 1;
    TRecordingDevice dev(kDpi, PageFor(5));
    TCounting progress;
    progress.CancelAtSlot = 7;
    EXPECT_EQ(Print(dev, &progress), TPrintResult::Cancelled);
    EXPECT_EQ(progress.Events, 7);
    EXPECT_EQ(LeftColumn(dev, 2), (std::vector<QString>{QStringLiteral("dump.bin"), Dump(5), Dump(6)}));
    EXPECT_EQ(dev.Page, 2);

    TRecordingDevice refused(kDpi, PageFor(5));
    TRecordingTarget target(refused);
    target.Refuse = true;
    EXPECT_THROW(TPrintPages::Print(Doc, Job, target, nullptr), TPrintError);
}

// Rows read in blocks: every line of a range across several blocks, starting and ending
// mid-row, matches the dump line and the character text of the document's own bytes.
TEST_F(TPrintPagesTest, EveryLineOfALargeRangeMatchesTheDocument)
{
    const std::vector<uint8_t> bytes = Pattern(200000, 5);
    Load(bytes);
    Job.First = 65536 - 40;
    Job.Last = 3 * 65536 + 7;
    Job.Header = Job.Footer = false;
    TRecordingDevice dev(kDpi, 2 * kMargin + 1000 * Lh);
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    std::vector<TDrawnText> dumps, texts;
    for (const TDrawnText &d : dev.Drawn)
        (d.X == kMargin ? dumps : texts).push_back(d);
    const int32_t rows = Job.Last / 16 - Job.First / 16 + 1;
    ASSERT_EQ(dumps.size(), size_t(rows));
    ASSERT_EQ(texts.size(), size_t(rows));
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t row = Job.First / 16 + i;
        ASSERT_EQ(dumps[size_t(i)].Text, Dump(row)) << row;
        const int32_t from = std::max(row * 16, Job.First), to = std::min(row * 16 + 15, Job.Last);
        const std::string want =
            TVxTextFilter::FilterText(bytes.data() + from, size_t(to - from + 1), ccASCII, false);
        ASSERT_EQ(texts[size_t(i)].Text, QString::fromLatin1(want)) << row;
    }
}

// Codes the filter passes through print their ASCII and dots, never CP932 katakana.
TEST_F(TPrintPagesTest, OtherCharacterCodesPrintAsciiAndDots)
{
    Load(std::string("AB\xB1\xB2\x01Z"));
    Job.Last = 5;
    Job.CharCode = ccEUC;
    TRecordingDevice dev(kDpi, PageFor(10));
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    QString text;
    for (const TDrawnText &d : dev.Drawn)
        if (d.X != kMargin)
            text += d.Text;
    EXPECT_EQ(text, QStringLiteral("AB...Z"));
}

// A4 portrait at 1200 dpi has 9921 dots across: at the stored 14 points the dump line and the
// character column need more. The job prints in a smaller size of the same face, and all
// of it (the layout follows from the smaller font's measures) stands inside the page.
TEST_F(TPrintPagesTest, ALineWiderThanThePagePrintsWholeInASmallerFont)
{
    constexpr int kA4Dpi = 1200, kA4Width = 9921, kA4Height = 14031, kLeft = 472;
    std::string bytes;
    for (int i = 0; i < 48; ++i)
        bytes += char('A' + i % 26);
    Load(bytes);
    Job.Last = 47;
    const int n = Dump(0).size();
    {
        TRecordingDevice probe(kA4Dpi, kA4Height, kA4Width);
        ASSERT_GT(kLeft + (n + 17) * QFontMetrics(Job.Font, &probe).horizontalAdvance(QLatin1Char('W')), kA4Width)
            << "the stored font fits A4 here: nothing to shrink";
    }
    TRecordingDevice dev(kA4Dpi, kA4Height, kA4Width);
    ASSERT_EQ(Print(dev), TPrintResult::Printed);
    ASSERT_EQ(dev.Drawn.size(), 8u); // title, 3 x (dump line, characters), page number
    const QFont font = dev.Drawn[0].Font;
    EXPECT_LT(font.pointSizeF(), 14);
    EXPECT_GE(font.pointSizeF(), 6);
    EXPECT_EQ(font.family(), Job.Font.family());
    for (const TDrawnText &d : dev.Drawn) {
        EXPECT_EQ(d.Font.pointSizeF(), font.pointSizeF()) << d.Text.toStdString();
        EXPECT_LE(d.X + QFontMetricsF(d.Font, &dev).horizontalAdvance(d.Text), kA4Width) << d.Text.toStdString();
    }
    const QFontMetrics fm(font, &dev);
    const int cw = fm.horizontalAdvance(QLatin1Char('W'));
    const int lh = fm.size(Qt::TextSingleLine, QStringLiteral(" 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")).height();
    EXPECT_LE(kLeft + (n + 17) * cw, kA4Width);
    for (int r = 0; r < 3; ++r) {
        const TDrawnText &dump = dev.Drawn[size_t(1 + 2 * r)], &text = dev.Drawn[size_t(2 + 2 * r)];
        EXPECT_EQ(dump.Text, Dump(r));
        EXPECT_EQ(dump.X, kLeft);
        EXPECT_EQ(text.Text, QString::fromStdString(bytes.substr(size_t(r) * 16, 16)));
        EXPECT_EQ(text.X, kLeft + (n + 1) * cw);
        EXPECT_EQ(text.Y, dump.Y);
        EXPECT_EQ(dump.Y - dev.Drawn[0].Y, (2 + r) * lh);
    }
    // The footer below the page's last slot: lines per page counted in the smaller line height.
    const int lines = (kA4Height - 2 * kLeft) / lh - 4;
    EXPECT_EQ(dev.Drawn[7].Y - dev.Drawn[0].Y, (2 + lines + 2) * lh);
}

// A line that fits, even to the last dot, prints in the job's own font at the same places as
// on a page of any width; one dot less and the font gets smaller.
TEST_F(TPrintPagesTest, ALineThatFitsPrintsAsOnAWidePage)
{
    Load(Pattern(40));
    Job.Last = 39;
    const int width = kMargin + (Dump(0).size() + 17) * Cw;
    TRecordingDevice wide(kDpi, PageFor(10)), exact(kDpi, PageFor(10), width), narrow(kDpi, PageFor(10), width - 1);
    ASSERT_EQ(Print(wide), TPrintResult::Printed);
    ASSERT_EQ(Print(exact), TPrintResult::Printed);
    ASSERT_EQ(Print(narrow), TPrintResult::Printed);
    ASSERT_EQ(exact.Drawn.size(), wide.Drawn.size());
    for (size_t i = 0; i < wide.Drawn.size(); ++i) {
        EXPECT_EQ(exact.Drawn[i].Text, wide.Drawn[i].Text);
        EXPECT_EQ(exact.Drawn[i].X, wide.Drawn[i].X);
        EXPECT_EQ(exact.Drawn[i].Y, wide.Drawn[i].Y);
        EXPECT_EQ(exact.Drawn[i].Font, wide.Drawn[i].Font);
    }
    EXPECT_EQ(wide.Drawn[0].Font.pointSize(), 14);
    EXPECT_LT(narrow.Drawn.at(0).Font.pointSizeF(), 14);
}
