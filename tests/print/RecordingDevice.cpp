#include "RecordingDevice.h"

#include <QPainterPath>

class TRecordingDevice::TEngine : public QPaintEngine {
public:
    explicit TEngine(TRecordingDevice &device) : QPaintEngine(QPaintEngine::AllFeatures), FDevice(device) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}

    void updateState(const QPaintEngineState &st) override
    {
        const QPaintEngine::DirtyFlags f = st.state();
        if (f & DirtyTransform)
            FTransform = st.transform();
        if (f & DirtyClipEnabled)
            FClipOn = st.isClipEnabled();
        if (f & DirtyClipRegion) {
            FClip = st.clipRegion().boundingRect();
            FClipOn = st.clipOperation() != Qt::NoClip;
        }
        if (f & DirtyClipPath) {
            FClip = st.clipPath().boundingRect().toRect();
            FClipOn = st.clipOperation() != Qt::NoClip;
        }
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QPointF at = FTransform.map(p);
        std::optional<QRect> clip;
        if (FClipOn)
            clip = FClip;
        FDevice.Drawn.push_back(TDrawnText{FDevice.Page, at.x(), at.y(), item.text(), clip, item.font()});
    }

private:
    TRecordingDevice &FDevice;
    QTransform FTransform;
    bool FClipOn = false;
    QRect FClip;
};

TRecordingDevice::TRecordingDevice(int dpi, int pageHeight, int pageWidth)
    : FDpi(dpi), FHeight(pageHeight), FWidth(pageWidth), FEngine(new TEngine(*this))
{
}

TRecordingDevice::~TRecordingDevice() { delete FEngine; }

QPaintEngine *TRecordingDevice::paintEngine() const { return FEngine; }

std::vector<TDrawnText> TRecordingDevice::OnPage(int page) const
{
    std::vector<TDrawnText> out;
    for (const TDrawnText &d : Drawn)
        if (d.Page == page)
            out.push_back(d);
    return out;
}

int TRecordingDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth: return FWidth;
    case PdmHeight: return FHeight;
    case PdmWidthMM: return FWidth * 254 / (FDpi * 10);
    case PdmHeightMM: return FHeight * 254 / (FDpi * 10);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return FDpi;
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
    }
}

bool TRecordingTarget::Begin(QPainter &painter, const QString &title)
{
    Title = title;
    return !Refuse && painter.begin(&FDevice);
}

bool TRecordingTarget::NewPage(QPainter &)
{
    ++FDevice.Page;
    return true;
}

bool TRecordingTarget::End(QPainter &painter)
{
    Ended = true;
    return painter.end();
}

void TRecordingTarget::Abort(QPainter &painter)
{
    Aborted = true;
    painter.end();
}
