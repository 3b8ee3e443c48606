// A line's ASCII as one glyph run: the same glyphs at the same places as drawText, checked
// against the shaper and against the pixels of the printed PDF.

#include "TPrintGlyphLine.h"
#include "TPrintPages.h"
#include "TPrinterTarget.h"
#include "../engine/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <memory>

namespace {
QFont StoredFont()
{
    QFont f(QStringLiteral("FixedSys"));
    f.setPointSize(14);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

// Prints text items with their characters, as a device that reads them back would get them.
class TTextPdf : public TPrinterTarget {
public:
    using TPrinterTarget::TPrinterTarget;
    bool WantsText() const override { return true; }
};

QByteArray Raster(const std::string &pdf, const std::string &stem)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-gray"),
                                         QString::fromStdString(pdf), QString::fromStdString(stem)});
    EXPECT_TRUE(p.waitForFinished(60000)) << "pdftoppm (poppler-utils) is needed";
    QByteArray all;
    for (int page = 1; page <= 2; ++page) {
        QFile f(QString::fromStdString(stem) + QStringLiteral("-%1.pgm").arg(page));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << stem << " page " << page;
        all += f.readAll();
    }
    return all;
}
} // namespace

TEST(PrintGlyphLine, GlyphsAndPlacesAreThoseOfTheShaper)
{
    TScratchDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("shape.pdf")));
    QPainter painter(&printer);
    painter.setFont(StoredFont());
    TPrintGlyphLine line(painter);
    ASSERT_TRUE(line.Usable()) << "the stored font resolves to a face without a glyph for some ASCII";
    const std::string text = "00ABC0: 7E 20 41 ~{|}  .!\"#$%&'()*+,-./ Zz";
    line.Clear();
    line.Add(331, 900, text.data(), int(text.size()));

    QTextLayout layout(QString::fromStdString(text), painter.font(), painter.device());
    layout.beginLayout();
    layout.createLine().setLineWidth(1e9);
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    ASSERT_EQ(runs.size(), 1);
    std::vector<quint32> glyphs;
    std::vector<QPointF> places;
    for (qsizetype i = 0; i < runs[0].glyphIndexes().size(); ++i)
        if (text[size_t(i)] != ' ') {
            glyphs.push_back(runs[0].glyphIndexes()[i]);
            // The layout's positions stand on its first line's baseline; ours on the given one.
            places.push_back(QPointF(runs[0].positions()[i].x() + 331, 900));
            EXPECT_EQ(runs[0].positions()[i].y(), runs[0].positions()[0].y());
        }
    EXPECT_EQ(std::vector<quint32>(line.Glyphs().begin(), line.Glyphs().end()), glyphs);
    ASSERT_EQ(size_t(line.Positions().size()), places.size());
    for (size_t i = 0; i < places.size(); ++i)
        EXPECT_EQ(line.Positions()[qsizetype(i)], places[i]) << i; // exact, not near
    painter.end();
}

TEST(PrintGlyphLine, UnderlinedFontsAreLeftToDrawText)
{
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont f = StoredFont();
    f.setUnderline(true);
    painter.setFont(f);
    EXPECT_FALSE(TPrintGlyphLine(painter).Usable());
}

// A job with Shift-JIS text, a pair split at a row end, control bytes, a selection that
// starts and ends mid-row, over two pages: glyph runs and plain text items print the
// same pixels.
TEST(PrintGlyphLine, APrintedJobLooksTheSameAsWithTextItems)
{
#ifdef _WIN32
    GTEST_SKIP() << "the pages are compared as rasterised by poppler's pdftoppm, a Linux tool";
#endif
    TScratchDir dir;
    std::string bytes = "Hexcavator \x82\xD6\x82\xAD\x82\xB7\x82\xA9\x82\xCE\x82\xC1\x82\xC6\x81\x42 ";
    bytes += std::string(15 - bytes.size() % 16, 'x') + "\x82\xA0";
    for (int i = 0; i < 2000; ++i)
        bytes += char(i * 37 % 256);
    TVxDocument doc;
    LoadDocument(doc, dir.File("job.bin"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    TPrintJob job;
    job.Title = QStringLiteral("job.bin");
    job.First = 3;
    job.Last = int32_t(bytes.size()) - 5;
    job.CharCode = ccSJIS;
    job.Font = StoredFont();
    auto print = [&](bool text, const std::string &pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setPageSize(QPageSize(QPageSize::A4));
        std::unique_ptr<TPrinterTarget> target =
            text ? std::make_unique<TTextPdf>(printer) : std::make_unique<TPrinterTarget>(printer);
        EXPECT_EQ(TPrintPages::Print(doc, job, *target, nullptr), TPrintResult::Printed);
    };
    print(true, dir.File("text.pdf"));
    print(false, dir.File("runs.pdf"));
    const QByteArray text = Raster(dir.File("text.pdf"), dir.File("text"));
    const QByteArray runs = Raster(dir.File("runs.pdf"), dir.File("runs"));
    ASSERT_GT(text.size(), 100000);
    EXPECT_TRUE(text == runs);
    // The faster file is the smaller one: fewer operators for the same ink.
    EXPECT_LT(QFile(QString::fromStdString(dir.File("runs.pdf"))).size(),
              QFile(QString::fromStdString(dir.File("text.pdf"))).size());
}
