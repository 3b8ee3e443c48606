#pragma once
// Where a print job goes: the device a painter draws its pages on, with the job's begin, new
// page, end and abort. TPrinterTarget puts a job on a QPrinter (a system printer or a PDF
// file); tests give their own devices. The page loop (TPrintPages) measures everything on
// the painter's device once Begin has made it active.

class QPainter;
class QString;

class TPrintTarget {
public:
    virtual ~TPrintTarget() = default;
    // Starts the job named `title`; the painter is active on the first page afterwards.
    // False when the device refuses (nothing to end or abort then).
    virtual bool Begin(QPainter &painter, const QString &title) = 0;
    // False when the device could not start a new page.
    virtual bool NewPage(QPainter &painter) = 0;
    // Finishes the job; false when the device reports that it failed.
    virtual bool End(QPainter &painter) = 0;
    // Abandons the job, keeping nothing of it where the device allows; the painter ends.
    virtual void Abort(QPainter &painter) = 0;
    // True for a device that reads the drawn characters back from its text items (a test's
    // recorder): it gets every string through drawText. Others get a line's ASCII as one
    // glyph run (TPrintGlyphLine), the same glyphs at the same places, which carries no text.
    virtual bool WantsText() const { return false; }
};
