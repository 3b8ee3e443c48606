// Rows of the editor control: one full repaint of a 1920x1080 control over a 1 GiB document
// with the top row at the start, the middle and the end, in ASCII and Shift-JIS (random
// bytes), in UTF-8 and EUC-JP (a page of Japanese text in that code, so that nearly every
// cell carries a glyph and characters cross most row edges), and one wheel notch (scroll
// plus repaint). No physical baseline: the target is an absolute one
// (a repaint well inside a 60 Hz frame) and the rows show it does not grow with the size.

#include "BenchApp.h"
#include "BenchTable.h"

#include "TVxHexcavator.h"

#include <QApplication>
#include <QStringEncoder>
#include <QWheelEvent>

#include <algorithm>
#include <memory>
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

void PaintEnd()
{
    TBenchApp::Ensure();
    TPaintFixture f;
    TBenchTable::PrintNoBaseline("paint-end", kDocSize, RepaintAt(f, f.View.RowCount(), ccASCII));
}

// Overwrites the page from topRow on with text encoded in `code` (UTF-8 or EUC-JP), inside
// the cache window, and paints it there.
double RepaintText(TPaintFixture &f, int32_t topRow, TVxCharCode code)
{
    const QString line = QStringLiteral("へくすかばっと。日本語のテキスト、Hexcavator 1.0 ｶﾀｶﾅ 表示速度\n");
    const QByteArray text = (code == ccUTF8 ? line.toUtf8() : QStringEncoder("EUC-JP").encode(line)).repeated(80);
    const int32_t start = (topRow - 1) * 16;
    for (int i = 0; i < 4096 && i < text.size(); ++i)
        f.View.OverwriteByte(start + i, uint8_t(text[i]), false);
    return RepaintAt(f, topRow, code);
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
} // namespace

HX_BENCH_ROW("paint-start", PaintStart);
HX_BENCH_ROW("paint-middle", PaintMiddle);
HX_BENCH_ROW("paint-end", PaintEnd);
HX_BENCH_ROW("paint-sjis", PaintSjis);
HX_BENCH_ROW("paint-utf8", PaintUtf8);
HX_BENCH_ROW("paint-eucjp", PaintEucJp);
HX_BENCH_ROW("wheel-step", WheelStep);
