#pragma once
// The page loop of a print job: the rows of an inclusive byte range as dump lines with their
// character text, page after page, with the optional title header and page-number footer,
// drawn through a QPainter on whatever device the target gives (a printer, a PDF file, a
// test's recording device). TPrintLayout decides where everything goes, in the job's font
// or, when a whole line would not fit across the page, a smaller size of it (TPrintFontFit).
//
// Per line slot, before it is drawn, the progress is asked whether the job was cancelled
// (then the job is aborted and nothing more is drawn) and then lets pending events through,
// which is how a progress dialog stays usable on the one thread. Bytes come in ascending
// order through TPrintRowSource: one sequential pass, fixed memory whatever the range.
//
// Characters: a run of printable ASCII is drawn as one string from its first cell; every
// other character (a CP932 pair, a half-width katakana) is drawn at the cell of its first
// byte and fitted into its one or two cells (centred when narrower, squeezed when wider),
// whichever face Qt's fallback takes it from, so the columns never drift. A pair split by a
// row end shows in both rows, clipped at the column's edges.
//
// Errors: a job the device will not start, or a page or end it reports as failed, throws
// TPrintError; a read error of the document throws what the engine throws. Either way the job
// has been aborted first.

#include "TVxTextFilter.h"

#include <QFont>
#include <QString>
#include <cstdint>

class QPaintDevice;
class TPrintTarget;
class TVxDocument;

// Everything a job needs besides the document and the device.
struct TPrintJob {
    QString Title;           // the header's text and the job's name
    int32_t First = 0;       // inclusive range, 0 <= First <= Last < FileSize
    int32_t Last = -1;
    int GroupSize = 1;       // bytes per column group of the dump line: 1, 2, 4, 8, 16
    bool HideOffsetHeader = false;
    TVxCharCode CharCode = ccASCII;
    QFont Font;              // set with fixed pitch on the device; smaller when a line would not fit
    int32_t TopMargin = 10, BottomMargin = 10, LeftMargin = 10; // millimetres
    bool Header = true;      // the title two lines above the data
    bool Footer = true;      // "%d ページ" two lines below the last slot
};

class TPrintProgress {
public:
    virtual ~TPrintProgress() = default;
    // Page `page` (from 1) is about to be drawn.
    virtual void PageStarted(int32_t page) = 0;
    // Asked at the start of every line slot: true aborts the job there.
    virtual bool Cancelled() = 0;
    // Called in every line slot after that question: pending events may run.
    virtual void LetEventsThrough() = 0;
};

enum class TPrintResult {
    Printed,   // the job ended normally
    Cancelled, // aborted because the progress said so
    NoRoom,    // margins and font leave no line for data on a page: aborted, nothing printed
};

class TPrintPages {
public:
    // The job's font as the device prints it: the stored font, made smaller when a line of
    // dumpLineLength characters plus the character column would not fit across the page
    // (TPrintFontFit).
    static QFont PageFont(const TPrintJob &job, const QPaintDevice &device, int32_t dumpLineLength);

    static TPrintResult Print(const TVxDocument &doc, const TPrintJob &job, TPrintTarget &target,
                              TPrintProgress *progress);
};
