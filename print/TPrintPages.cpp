#include "TPrintPages.h"

#include "TPrintFontFit.h"
#include "TPrintGlyphLine.h"
#include "TPrintLayout.h"
#include "TPrintRowSource.h"
#include "TPrintTarget.h"
#include "TVxDocument.h"
#include "TVxDumpText.h"
#include "TPrintError.h"
#include "TCodePageText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {
// One job's drawing state: the painter's font metrics, the fitted characters met so far.
class TPageWriter {
public:
    TPageWriter(QPainter &p, const TPrintJob &job, const TVxDocument &doc, bool glyphRuns)
        : FPainter(p), FJob(job), FDoc(doc), FSource(doc), FWantGlyphRuns(glyphRuns)
    {
    }

    // Measures the font on the device and lays the job out.
    TPrintLayout Layout()
    {
        const QPaintDevice *device = FPainter.device();
        const int32_t n = static_cast<int32_t>(DumpLine(FJob.First / 16).size());
        FPainter.setFont(TPrintPages::PageFont(FJob, *device, n));
        const QFontMetrics fm = FPainter.fontMetrics();
        FAscent = fm.ascent();
        FCharWidth = fm.horizontalAdvance(QLatin1Char('W'));
        if (FWantGlyphRuns) {
            FGlyphs.emplace(FPainter);
            if (!FGlyphs->Usable())
                FGlyphs.reset();
        }
        TPrintPageSetup s;
        s.DpiX = device->logicalDpiX();
        s.DpiY = device->logicalDpiY();
        s.PageHeight = device->height();
        s.LineHeight = fm.size(Qt::TextSingleLine, QString::fromLatin1(TPrintLayout::kSampleText)).height();
        s.CharWidth = FCharWidth;
        s.TopMargin = FJob.TopMargin;
        s.BottomMargin = FJob.BottomMargin;
        s.LeftMargin = FJob.LeftMargin;
        s.Header = FJob.Header;
        s.Footer = FJob.Footer;
        return TPrintLayout(s, FJob.First, FJob.Last, n);
    }

    void Text(int32_t x, int32_t y, const QString &text) { FPainter.drawText(x, y + FAscent, text); }

    void Line(const TPrintLayout &layout, int64_t row, int32_t y)
    {
        const std::string dump = DumpLine(static_cast<int32_t>(row));
        const TPrintRowClip clip = layout.RowClip(row, FDoc.FileSize());
        const auto count = static_cast<int32_t>(clip.TextEnd - clip.TextFrom);
        std::string text;
        FPieces.clear();
        if (count > 0 && clip.ClipLeft < clip.ClipRight) {
            const uint8_t *bytes = FSource.Bytes(clip.TextFrom, clip.TextEnd);
            uint8_t spans[32];
            text = TVxTextFilter::FilterText(bytes, size_t(count), FJob.CharCode, false, spans);
            TPrintLayout::Pieces(clip, FCharWidth, text.data(), spans, count, FPieces);
        }
        // Most rows draw only whole cells inside the clip; the clip (a graphics-state change
        // on every line of a PDF) is set only where a character is cut.
        bool cut = false;
        for (const TPrintCharPiece &piece : FPieces)
            cut = cut || piece.X < clip.ClipLeft || piece.X + piece.Cells * FCharWidth > clip.ClipRight;
        if (FGlyphs && !cut) {
            const qreal baseline = y + FAscent;
            FGlyphs->Clear();
            FGlyphs->Add(layout.Left(), baseline, dump.data(), int(dump.size()));
            for (const TPrintCharPiece &piece : FPieces)
                if (piece.Ascii)
                    FGlyphs->Add(piece.X, baseline, text.data() + piece.Index, piece.Count);
            FGlyphs->Draw(FPainter);
            for (const TPrintCharPiece &piece : FPieces)
                if (!piece.Ascii)
                    Fitted(piece, text, y);
            return;
        }
        Text(layout.Left(), y, QString::fromLatin1(dump));
        const std::vector<TPrintCharPiece> &pieces = FPieces;
        if (cut)
            FPainter.setClipRect(QRect(clip.ClipLeft, y, clip.ClipRight - clip.ClipLeft, layout.LineHeight()));
        for (const TPrintCharPiece &piece : pieces) {
            if (piece.Ascii)
                Text(piece.X, y, QString::fromLatin1(text.data() + piece.Index, piece.Count));
            else
                Fitted(piece, text, y);
        }
        if (cut)
            FPainter.setClipping(false);
    }

private:
    struct TFitted {
        QString Text;
        qreal Advance;
    };

    // The job's font with fixed pitch, made smaller when a line of n characters plus the
    // character column would run past the page's width (TPrintFontFit).
    std::string DumpLine(int32_t row)
    {
        // FormatDumpLine reads only the offsets it shows, and those lie inside the document.
        const int64_t from = int64_t(row) * 16;
        const int64_t end = std::min<int64_t>(from + 16, FDoc.FileSize());
        const uint8_t *bytes = FSource.Bytes(from, end);
        return TVxDumpText::FormatDumpLine(bytes, FJob.First, FJob.Last, FDoc.FileSize(), row, FJob.GroupSize,
                                           FJob.HideOffsetHeader);
    }

    // Draws one character fitted into its cells.
    void Fitted(const TPrintCharPiece &piece, const std::string &text, int32_t y)
    {
        const auto lead = static_cast<uint8_t>(text[size_t(piece.Index)]);
        const uint16_t code = piece.Count == 2 ? uint16_t(lead << 8 | static_cast<uint8_t>(text[size_t(piece.Index) + 1]))
                                               : lead;
        auto it = FFitted.find(code);
        if (it == FFitted.end()) {
            const QString shown = Shown(code, piece.Count);
            const QFontMetricsF fm(FPainter.font(), FPainter.device());
            it = FFitted.emplace(code, TFitted{shown, fm.horizontalAdvance(shown)}).first;
        }
        const TFitted &f = it->second;
        const qreal room = qreal(piece.Cells) * FCharWidth;
        const qreal baseline = y + FAscent;
        if (f.Advance > room && f.Advance > 0) {
            FPainter.save();
            FPainter.translate(piece.X, baseline);
            FPainter.scale(room / f.Advance, 1.0);
            FPainter.drawText(QPointF(0, 0), f.Text);
            FPainter.restore();
        } else {
            FPainter.drawText(QPointF(piece.X + (room - f.Advance) / 2, baseline), f.Text);
        }
    }

    // The character a code shows: CP932 decoded; what has no character of its own (a lead
    // byte cut off at the data's end, bytes CP932 leaves undefined) shows as the screen shows it.
    // The other character codes print their printable ASCII only: the filter passes their
    // bytes through, and decoding them is the grid's own.
    QString Shown(uint16_t code, int bytes)
    {
        if (bytes == 1 && (FJob.CharCode != ccSJIS || !TVxTextFilter::IsHalfWidthKatakana(uint8_t(code))))
            return QStringLiteral(".");
        const char raw[2] = {char(code >> 8), char(code & 0xFF)};
        const QString text = QString::fromStdU16String(
            TCodePageText::Decode(TCodePageText::TCode::ShiftJis, bytes == 2 ? raw : raw + 1, size_t(bytes == 2 ? 2 : 1)));
        const char16_t first = text.isEmpty() ? 0 : text.at(0).unicode();
        if (first == 0 || first == 0x1A || first == 0xFFFD || (first >= 0xE000 && first <= 0xF8FF))
            return QString(QChar(0x30FB));
        return text;
    }

    QPainter &FPainter;
    const TPrintJob &FJob;
    const TVxDocument &FDoc;
    TPrintRowSource FSource;
    int FAscent = 0;
    int32_t FCharWidth = 0;
    std::unordered_map<uint16_t, TFitted> FFitted;
    std::vector<TPrintCharPiece> FPieces;
    bool FWantGlyphRuns;
    std::optional<TPrintGlyphLine> FGlyphs; // set while the font allows glyph runs
};

TPrintResult RunPages(QPainter &painter, const TVxDocument &doc, const TPrintJob &job, TPrintTarget &target,
                      TPrintProgress *progress)
{
    TPageWriter writer(painter, job, doc, !target.WantsText());
    const TPrintLayout layout = writer.Layout();
    if (!layout.Fits()) {
        target.Abort(painter);
        return TPrintResult::NoRoom;
    }
    for (int32_t page = 1; page <= layout.Pages(); ++page) {
        if (progress)
            progress->PageStarted(page);
        if (job.Header)
            writer.Text(layout.Left(), layout.HeaderY(), job.Title);
        for (int32_t slot = 0; slot < layout.LinesPerPage(); ++slot) {
            if (progress && progress->Cancelled()) {
                target.Abort(painter);
                return TPrintResult::Cancelled;
            }
            if (progress)
                progress->LetEventsThrough();
            const int64_t row = layout.RowAt(page, slot);
            if (layout.RowPrinted(row))
                writer.Line(layout, row, layout.LineY(slot));
        }
        if (job.Footer)
            writer.Text(layout.Left(), layout.FooterY(), QStringLiteral("%1 ページ").arg(page));
        if (page < layout.Pages() && !target.NewPage(painter))
            throw TPrintError("印刷に失敗しました。");
    }
    if (!target.End(painter))
        throw TPrintError("印刷に失敗しました。");
    return TPrintResult::Printed;
}
} // namespace

QFont TPrintPages::PageFont(const TPrintJob &job, const QPaintDevice &device, int32_t dumpLineLength)
{
    QFont font = job.Font;
    font.setFixedPitch(true);
    const bool points = font.pointSizeF() > 0;
    const auto tenths = static_cast<int32_t>(std::lround((points ? font.pointSizeF() : font.pixelSize()) * 10));
    auto sized = [&](int32_t t) {
        QFont f = font;
        if (points)
            f.setPointSizeF(t / 10.0);
        else
            f.setPixelSize(std::max(1, t / 10));
        return f;
    };
    // QFontMetrics wants a non-const device; it only reads it.
    auto *dev = const_cast<QPaintDevice *>(&device);
    const int32_t left = TPrintLayout::MillimetresToDots(job.LeftMargin, device.logicalDpiX());
    const int32_t fitted = TPrintFontFit::Fit(tenths, left, dumpLineLength, device.width(), [&](int32_t t) {
        return QFontMetrics(t == tenths ? font : sized(t), dev).horizontalAdvance(QLatin1Char('W'));
    });
    return fitted == tenths ? font : sized(fitted);
}

TPrintResult TPrintPages::Print(const TVxDocument &doc, const TPrintJob &job, TPrintTarget &target,
                                TPrintProgress *progress)
{
    QPainter painter;
    if (!target.Begin(painter, job.Title))
        throw TPrintError("印刷を開始できませんでした。");
    try {
        return RunPages(painter, doc, job, target, progress);
    } catch (...) {
        // A job that failed halfway keeps nothing (one the device failed to end is over).
        if (painter.isActive())
            target.Abort(painter);
        throw;
    }
}
