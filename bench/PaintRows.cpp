// Rows of the editor control: one full repaint of a 1920x1080 control over a 1 GiB document
// with the top row at the start, the middle and the end, in ASCII and Shift-JIS (random
// bytes), in UTF-8, EUC-JP and ISO-2022-JP (a page of Japanese text in that code, so that
// nearly every cell carries a glyph and characters cross most row edges; in ISO-2022-JP
// lines of TBenchText, an escape sequence at every change of mode) and through a character
// table (ASCII plus 2000 two-byte entries of kanji, a page of their bytes), with 10,000
// separate changed ranges from the top row on (every other byte: as many as the page can
// show, the rest below it), and one wheel notch (scroll plus repaint). No physical
// baseline: the target is an absolute one (a repaint well inside a 60 Hz frame) and the rows
// show it does not grow with the size. The bookmarks row is the exception: caret steps with
// 10,000 bookmarks against the same steps without them, in the same run.

#include "BenchApp.h"
#include "BenchTable.h"
#include "BenchText.h"

#include "TVxCharTable.h"
#include "TVxHexcavator.h"
#include "TVxTextCodec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringEncoder>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int64_t kDocSize = int64_t(1) << 30;
constexpr int kReps = 50;

// The document is shared by the rows and deleted when hexbench ends; each row has its own
// control (and so its own working copy, deleted with the control).
const TBenchTable::TDataFile &Document()
{
    static TBenchTable::TDataFile file(kDocSize, 7);
    return file;
}

struct TPaintFixture {
    TVxHexcavator View;

    TPaintFixture()
    {
        View.resize(1920, 1080);
        View.show();
        View.LoadFromFile(Document().Path());
        QApplication::processEvents();
    }
};

double RepaintAt(TPaintFixture &f, int32_t topRow, TVxCharCode code)
{
    f.View.SetCharCode(code);
    f.View.SetTopRow(topRow);
    QApplication::processEvents();
    f.View.viewport()->repaint(); // warm: the cache window and the glyphs of this page
    return TBenchTable::Best(kReps, [&] { f.View.viewport()->repaint(); });
}

void PaintStart()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-start", kDocSize, RepaintAt(f, 1, ccASCII));
}

void PaintMiddle()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-middle", kDocSize, RepaintAt(f, f.View.RowCount() / 2, ccASCII));
}

void PaintChanged()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    const int32_t topRow = f.View.RowCount() / 2;
    const int32_t first = (topRow - 1) * 16;
    for (int32_t i = 0; i < 10000; ++i)
        f.View.OverwriteByte(first + 2 * i, 0x41, false);
    TBenchTable::PrintNoBaseline("paint-changed", kDocSize, RepaintAt(f, topRow, ccASCII));
}

void PaintEnd()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-end", kDocSize, RepaintAt(f, f.View.RowCount(), ccASCII));
}

// Overwrites the page from topRow on with `page` (text in `code`), inside the cache window,
// and paints it there.
double RepaintPage(TPaintFixture &f, int32_t topRow, TVxCharCode code, const std::string &page)
{
    const int32_t start = (topRow - 1) * 16;
    for (size_t i = 0; i < 4096 && i < page.size(); ++i)
        f.View.OverwriteByte(start + int32_t(i), uint8_t(page[i]), false);
    return RepaintAt(f, topRow, code);
}

// A page of the same line over and over, in UTF-8 or EUC-JP.
double RepaintText(TPaintFixture &f, int32_t topRow, TVxCharCode code)
{
    const QString line = QStringLiteral("へくすかばっと。日本語のテキスト、Hexcavator 1.0 ｶﾀｶﾅ 表示速度\n");
    const QByteArray text = (code == ccUTF8 ? line.toUtf8() : QStringEncoder("EUC-JP").encode(line)).repeated(80);
    return RepaintPage(f, topRow, code, text.toStdString());
}

// Lines of TBenchText written in `codec`'s code, at least 4096 bytes of them.
std::string EncodedLines(const TVxTextCodec &codec)
{
    std::string page;
    for (const std::u16string &line : TBenchText::Lines(200, 5)) {
        if (page.size() >= 4096)
            break;
        page += codec.EncodeOrThrow(line);
    }
    return page;
}

// A table of ASCII (20..7E) and the first 2000 kanji of JIS X 0208 (as EUC-JP gives
// them) on two bytes 80 00 .. 87 F9, and a page of its bytes: kanji runs between ASCII
// words, as game scripts hold them.
std::shared_ptr<const TVxCharTable> KanjiTable(std::string &page)
{
    std::string tbl = "# kanji on two bytes\n";
    char entry[8];
    for (int b = 0x20; b <= 0x7E; ++b) {
        std::snprintf(entry, sizeof entry, "%02X=", b);
        tbl += entry;
        tbl += char(b);
        tbl += '\n';
    }
    const TVxTextCodec euc(ccEUC);
    std::vector<std::string> codes;
    for (int row = 0xB0; row <= 0xCF && codes.size() < 2000; ++row)
        for (int cell = 0xA1; cell <= 0xFE && codes.size() < 2000; ++cell) {
            const uint8_t pair[2] = {uint8_t(row), uint8_t(cell)};
            const std::u16string kanji = euc.Decode(pair, 2, false);
            if (kanji.size() != 1 || kanji[0] < 0x4E00)
                continue; // a cell without a kanji
            const int k = int(codes.size());
            std::snprintf(entry, sizeof entry, "%02X%02X=", 0x80 + k / 250, k % 250);
            tbl += entry + TVxTextCodec::ToUtf8(kanji) + "\n";
            codes.push_back({char(0x80 + k / 250), char(k % 250)});
        }
    std::mt19937 rng(9);
    const char *const words[] = {" HP ", " Lv.12 ", " 0x1F ", " OK ", "! ", "? "};
    while (page.size() < 4096) {
        for (unsigned n = 2 + rng() % 8; n > 0; --n)
            page += codes[rng() % codes.size()];
        page += words[rng() % std::size(words)];
    }
    return TVxCharTable::Parse(tbl);
}

void PaintUtf8()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-utf8", kDocSize, RepaintText(f, f.View.RowCount() / 3, ccUTF8));
}

void PaintEucJp()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-eucjp", kDocSize, RepaintText(f, f.View.RowCount() / 3, ccEUC));
}

void PaintSjis()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-sjis", kDocSize, RepaintAt(f, f.View.RowCount() / 3, ccSJIS));
}

void PaintJis()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    const int32_t top = f.View.RowCount() / 3;
    TBenchTable::PrintNoBaseline("paint-jis", kDocSize, RepaintPage(f, top, ccJIS, EncodedLines(TVxTextCodec(ccJIS))));
}

void PaintTable()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    std::string page;
    f.View.SetCharTable(KanjiTable(page));
    TBenchTable::PrintNoBaseline("paint-table", kDocSize, RepaintPage(f, f.View.RowCount() / 3, ccTable, page));
}

// One notch down, then the repaint it causes; the median of many steps through fresh rows.
void WheelStep()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    RepaintAt(f, f.View.RowCount() / 4, ccASCII);
    QWidget *vp = f.View.viewport();
    const QPointF at(vp->width() / 2.0, vp->height() / 2.0);
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        const double t = TBenchTable::Now();
        QWheelEvent e(at, vp->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(vp, &e);
        vp->repaint();
        times.push_back(TBenchTable::Now() - t);
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    TBenchTable::PrintNoBaseline("wheel-step", kDocSize, times[times.size() / 2]);
}

// Caret steps, each with its repaint, through a stretch of 10,000 bookmarks (one every 5
// bytes, 1 to 8 bytes long, so about 200 of them on the page): a row down, then on to the
// next bookmark as F2 goes. The baseline takes the same steps to the same places with no
// bookmarks. Target: a step under 2 ms.
void Bookmarks10k()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    const int32_t base = static_cast<int32_t>(kDocSize / 3) & ~15;
    std::mt19937 rng(9);
    for (int k = 0; k < 10000; ++k)
        f.View.Bookmarks().Add(base + 5 * k, 1 + static_cast<int32_t>(rng() % 8), std::string(), 0xD77800);
    std::vector<int32_t> targets;
    const auto steps = [&](bool record) {
        f.View.GotoOffset(base);
        RepaintAt(f, base / 16, ccASCII);
        std::vector<double> times;
        for (int i = 0; i < 400; ++i) {
            const double t = TBenchTable::Now();
            if (i % 2 == 0) {
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                QApplication::sendEvent(&f.View, &down);
            } else {
                if (record) {
                    const TVxBookmark *m = f.View.Bookmarks().Next(f.View.GetCaretOffset());
                    targets.push_back(m ? m->Offset : base);
                }
                f.View.GotoOffset(targets[static_cast<size_t>(i / 2)]);
            }
            f.View.viewport()->repaint();
            times.push_back(TBenchTable::Now() - t);
        }
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        return times[times.size() / 2];
    };
    const double ours = steps(true);
    f.View.Bookmarks().Clear();
    const double plain = steps(false);
    TBenchTable::Print("bookmarks-10k", kDocSize, ours, plain);
}
} // namespace

HX_BENCH_ROW("paint-start", PaintStart);
HX_BENCH_ROW("paint-middle", PaintMiddle);
HX_BENCH_ROW("paint-end", PaintEnd);
HX_BENCH_ROW("paint-changed", PaintChanged);
HX_BENCH_ROW("paint-sjis", PaintSjis);
HX_BENCH_ROW("paint-utf8", PaintUtf8);
HX_BENCH_ROW("paint-eucjp", PaintEucJp);
HX_BENCH_ROW("paint-jis", PaintJis);
HX_BENCH_ROW("paint-table", PaintTable);
HX_BENCH_ROW("wheel-step", WheelStep);
HX_BENCH_ROW("bookmarks-10k", Bookmarks10k);
