#include "TByteValuesPanel.h"

#include "TAppUtils.h"
#include "TByteValuesTable.h"
#include "TSettings.h"
#include "TVxCharRun.h"
#include "TVxHexcavator.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"

#include <QMainWindow>

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QStyle>
#include <QScrollArea>

#include <algorithm>

namespace {
const struct {
    Qt::DockWidgetArea Area;
    const char *Name;
} kAreas[] = {{Qt::LeftDockWidgetArea, "Left"},
              {Qt::RightDockWidgetArea, "Right"},
              {Qt::TopDockWidgetArea, "Top"},
              {Qt::BottomDockWidgetArea, "Bottom"}};

bool Horizontal(Qt::DockWidgetArea area) { return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea; }
} // namespace

TByteValuesPanel::TByteValuesPanel(const TFeatureContext &context) : FMain(context.Window), FEditor(context.Editor)
{
    QMainWindow &main = context.Window;
    FDock = new QDockWidget(QStringLiteral("データインスペクタ"), &main);
    FDock->setObjectName(QStringLiteral("ByteValuesPanel"));
    FView = new TByteValuesTable;
    FView->setObjectName(QStringLiteral("ByteValuesPanelView"));
    FScroll = new QScrollArea(FDock);
    FScroll->setWidget(FView);
    FScroll->setBackgroundRole(QPalette::Base);
    FDock->setWidget(FScroll);
    main.addDockWidget(Qt::RightDockWidgetArea, FDock);
    FDock->hide();

    QAction *a = FDock->toggleViewAction();
    a->setObjectName(QStringLiteral("acViewByteValues"));
    a->setText(QStringLiteral("データインスペクタ(&D)"));
    a->setToolTip(QStringLiteral("データインスペクタ"));
    QObject::connect(FDock, &QDockWidget::visibilityChanged, FDock, [this](bool visible) {
        if (visible)
            Refresh();
    });
    // Runs after the action has shown the dock (its own connection is older).
    QObject::connect(a, &QAction::triggered, FDock, [this](bool shown) {
        if (shown)
            MakeRoom();
    });

    TVxHexcavator &ed = context.Editor;
    FListen.Listen(ed.OnMoveCell, [this] { Refresh(); });
    FListen.Listen(ed.OnChangeUndo, [this](int32_t) { Refresh(); });
    FListen.Listen(ed.OnChangeFileSize, [this] { Refresh(); });
    FListen.Listen(ed.OnFileOpen, [this] { Refresh(); });
    context.Places.Add(QStringLiteral("view.panels"), {a});
    context.Settings.AddSection([this](const TSettings &s, bool sole) { Apply(s, sole); },
                                [this](TSettings &s) { Collect(s); });
}

TByteValuesPanel::~TByteValuesPanel() = default;

QAction *TByteValuesPanel::acViewByteValues() const { return FDock->toggleViewAction(); }

int TByteValuesPanel::PreferredWidth() const
{
    return FView->sizeHint().width() + 2 * FScroll->frameWidth() + FScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void TByteValuesPanel::MakeRoom()
{
    TAppUtils::MakeRoomBeside(FMain, FDock, FEditor.WholeGridWidth(), FDockedSize > 0 ? FDockedSize : PreferredWidth());
}

void TByteValuesPanel::Refresh()
{
    if (FDock->isHidden())
        return;
    TVxHexcavator &ed = FEditor;
    const int32_t caret = ed.GetCaretOffset();
    const int count = int(std::clamp<int64_t>(int64_t(ed.FileSize()) - caret, 0, 8));
    uint8_t bytes[8];
    for (int i = 0; i < count; ++i)
        bytes[i] = ed.ByteAt(caret + i);

    TByteValues::TCharAtCaret ch;
    if (count > 0) {
        TVxCharRun run;
        run.Read(ed, caret & ~15, ed.Codec().Decoder());
        const int at = run.CharAt(caret);
        ch.Present = true;
        ch.Code = at < 0 ? TVxCharDecoder::kInvalid : run.Chars[at].Code;
        ch.Span = at < 0 ? 1 : run.Chars[at].Span;
        for (int i = 0; i < ch.Span && i < 4; ++i)
            ch.Bytes[i] = run.Bytes[(at < 0 ? caret - run.Base : at) + i];
    }
    int32_t selStart = -1, selEnd = -1;
    ed.GetSelectionRange(selStart, selEnd);
    FValues.Compute(bytes, count, ch, selStart, selEnd);

    FView->SetValues(FValues);
}

void TByteValuesPanel::Apply(const TSettings &s, bool soleInstance)
{
    Qt::DockWidgetArea area = Qt::RightDockWidgetArea;
    for (const auto &a : kAreas)
        if (s.ByteValuesPanelArea == a.Name)
            area = a.Area;
    if (FMain.dockWidgetArea(FDock) != area)
        FMain.addDockWidget(area, FDock);
    // Without a size of its own the panel is as wide as its table, or as high as its rows.
    FDockedSize = s.ByteValuesPanelSize > 0 ? s.ByteValuesPanelSize
                  : Horizontal(area)      ? PreferredWidth()
                                          : FView->sizeHint().height() + 2 * FScroll->frameWidth();
    FMain.resizeDocks({FDock}, {FDockedSize}, Horizontal(area) ? Qt::Horizontal : Qt::Vertical);
    FFloatingPosition = s.ByteValuesPanelPosition;
    FDock->setFloating(s.ByteValuesPanelFloating);
    if (s.ByteValuesPanelFloating && soleInstance && FFloatingPosition) {
        const auto &r = *FFloatingPosition;
        FDock->setGeometry(r[0], r[1], r[2] - r[0], r[3] - r[1]);
    }
    FDock->setVisible(s.ViewByteValues);
}

void TByteValuesPanel::Collect(TSettings &s) const
{
    s.ViewByteValues = !FDock->isHidden();
    const Qt::DockWidgetArea area = FMain.dockWidgetArea(FDock);
    for (const auto &a : kAreas)
        if (a.Area == area)
            s.ByteValuesPanelArea = a.Name;
    s.ByteValuesPanelFloating = FDock->isFloating();
    s.ByteValuesPanelSize = FDockedSize;
    s.ByteValuesPanelPosition = FFloatingPosition;
    if (FDock->isFloating()) {
        const QRect r = FDock->geometry();
        s.ByteValuesPanelPosition = std::array<int32_t, 4>{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    } else if (!FDock->isHidden()) {
        s.ByteValuesPanelSize = Horizontal(area) ? FDock->width() : FDock->height();
    }
}
