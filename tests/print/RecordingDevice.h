#pragma once
// A paint device that keeps what a print job drew instead of drawing it: every text item with
// its page, device position (the painter's transform applied) and the clip then in force,
// and the font it was drawn in, and whether the job ended or was aborted. Its pages have a
// chosen height and resolution, and a chosen width (by default wider than any line).

#include "TPrintTarget.h"

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QTransform>
#include <optional>
#include <vector>

struct TDrawnText {
    int Page;
    double X, Y; // baseline origin, device units
    QString Text;
    std::optional<QRect> Clip;
    QFont Font;
};

class TRecordingDevice : public QPaintDevice {
public:
    static constexpr int kWide = 1000000;
    TRecordingDevice(int dpi, int pageHeight, int pageWidth = kWide);
    ~TRecordingDevice() override;
    QPaintEngine *paintEngine() const override;

    std::vector<TDrawnText> Drawn;
    int Page = 1;
    // Items of one page (1-based), in drawing order.
    std::vector<TDrawnText> OnPage(int page) const;

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    class TEngine;
    int FDpi, FHeight, FWidth;
    TEngine *FEngine;
};

// The job side: pages count up on NewPage; Begin can be refused.
class TRecordingTarget : public TPrintTarget {
public:
    explicit TRecordingTarget(TRecordingDevice &device) : FDevice(device) {}
    bool Refuse = false;
    bool Ended = false, Aborted = false;
    QString Title;

    bool Begin(QPainter &painter, const QString &title) override;
    bool NewPage(QPainter &) override;
    bool End(QPainter &painter) override;
    void Abort(QPainter &painter) override;
    bool WantsText() const override { return true; }

private:
    TRecordingDevice &FDevice;
};
