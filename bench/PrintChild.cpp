// hexbench-print: one print job of the print-pdf row in a process of its own, so that its
// peak memory is the job's alone. Usage: hexbench-print ours|baseline DATA OUT.pdf
// Prints "SECONDS PAGES": the time from the job's start until the PDF file is complete, then
// the peak line every child of hexbench ends with (BenchChild.h).
//
// ours: TPrintPages over the whole file as one selection, with the default print settings
// and pending events let through once per line, as the print command runs it.
// baseline: Qt's PDF output alone drawing the same text at the same places (dump lines and
// character columns formatted beforehand from bytes in memory, no clipping, no events):
// the cost of the PDF engine itself, which no printing through it can undercut.

#include "BenchChild.h"

#include "TPrintCommands.h"
#include "TPrintLayout.h"
#include "TPrintPages.h"
#include "TPrinterTarget.h"
#include "TSettings.h"
#include "TVxDocument.h"
#include "TVxDumpText.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {
double Now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

class TEventsPerLine : public TPrintProgress {
public:
    int32_t Pages = 0;
    void PageStarted(int32_t page) override { Pages = page; }
    bool Cancelled() override { return false; }
    void LetEventsThrough() override { QCoreApplication::processEvents(); }
};

TPrintJob DefaultJob(const TVxDocument &doc)
{
    TPrintJob job;
    job.Title = QStringLiteral("hexbench.bin");
    job.First = 0;
    job.Last = doc.FileSize() - 1;
    TPrintCommands::ApplySettings(job, TPrintSettings());
    return job;
}

int Baseline(const TVxDocument &doc, const TPrintJob &job, QPrinter &printer, double &seconds)
{
    std::vector<uint8_t> bytes(size_t(doc.FileSize()));
    doc.ReadInto(0, bytes.data(), doc.FileSize());
    const int32_t rows = (doc.FileSize() + 15) / 16;
    std::vector<QString> dumps, texts;
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t *row = bytes.data() + size_t(r) * 16;
        dumps.push_back(QString::fromLatin1(
            TVxDumpText::FormatDumpLine(row, job.First, job.Last, doc.FileSize(), r, 1, false)));
        const size_t n = std::min<size_t>(16, bytes.size() - size_t(r) * 16);
        texts.push_back(QString::fromLatin1(TVxTextFilter::FilterText(row, n, ccASCII, false)));
    }
    const double start = Now();
    QPainter p;
    p.begin(&printer);
    p.setFont(TPrintPages::PageFont(job, printer, int32_t(dumps.front().size())));
    const QFontMetrics fm = p.fontMetrics();
    TPrintPageSetup s;
    s.DpiX = printer.logicalDpiX();
    s.DpiY = printer.logicalDpiY();
    s.PageHeight = printer.height();
    s.LineHeight = fm.size(Qt::TextSingleLine, QString::fromLatin1(TPrintLayout::kSampleText)).height();
    s.CharWidth = fm.horizontalAdvance(QLatin1Char('W'));
    s.TopMargin = job.TopMargin;
    s.BottomMargin = job.BottomMargin;
    s.LeftMargin = job.LeftMargin;
    const TPrintLayout layout(s, job.First, job.Last, dumps.front().size());
    for (int32_t page = 1; page <= layout.Pages(); ++page) {
        p.drawText(layout.Left(), layout.HeaderY() + fm.ascent(), job.Title);
        for (int32_t slot = 0; slot < layout.LinesPerPage(); ++slot) {
            const int64_t row = layout.RowAt(page, slot);
            if (!layout.RowPrinted(row))
                continue;
            const int y = layout.LineY(slot) + fm.ascent();
            p.drawText(layout.Left(), y, dumps[size_t(row)]);
            p.drawText(layout.CharLeft(), y, texts[size_t(row)]);
        }
        p.drawText(layout.Left(), layout.FooterY() + fm.ascent(), QStringLiteral("%1 ページ").arg(page));
        if (page < layout.Pages())
            printer.newPage();
    }
    p.end();
    seconds = Now() - start;
    return layout.Pages();
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Qt's arguments, not argv: on Windows argv is in the ANSI code page.
    const QStringList args = QCoreApplication::arguments();
    TVxDocument doc;
    doc.LoadFromFile(args[2].toStdString());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(args[3]);
    const TPrintJob job = DefaultJob(doc);
    double seconds = 0;
    int pages = 0;
    if (args[1] == QStringLiteral("baseline")) {
        pages = Baseline(doc, job, printer, seconds);
    } else {
        TPrinterTarget target(printer);
        TEventsPerLine progress;
        const double start = Now();
        if (TPrintPages::Print(doc, job, target, &progress) != TPrintResult::Printed)
            return 1;
        seconds = Now() - start;
        pages = progress.Pages;
    }
    std::printf("%.6f %d\n", seconds, pages);
    TBenchChild::ReportPeak();
    return 0;
}
