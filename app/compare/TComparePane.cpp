#include "TComparePane.h"

#include "TAppUtils.h"
#include "TVxHexcavator.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QMainWindow>

TComparePane::TComparePane(QMainWindow &window, TVxHexcavator &document, TVxProgress &progress)
    : FWindow(window), FDocument(document), FProgress(progress)
{
    FDock = new QDockWidget(&window);
    FDock->setObjectName(QStringLiteral("ComparePane"));
    FDock->setFeatures(QDockWidget::DockWidgetMovable);
    FOther = MakeEditor();
    FDock->setWidget(FOther);
    window.addDockWidget(Qt::RightDockWidgetArea, FDock);
    FDock->hide();
}

TComparePane::~TComparePane()
{
    // The editor is the window's (through the dock) and may outlive the progress.
    FOther->SetProgress(nullptr);
}

TVxHexcavator *TComparePane::MakeEditor()
{
    auto *editor = new TVxHexcavator(FDock);
    editor->setObjectName(QStringLiteral("CompareEditor"));
    editor->SetReadOnlyMode(true);
    editor->SetProgress(&FProgress);
    return editor;
}

void TComparePane::Open(const QString &path)
{
    // A fresh editor each time: a failed load leaves the one shown as it was.
    auto *other = MakeEditor();
    try {
        other->LoadFromFile(path.toStdString(), false);
    } catch (...) {
        delete other;
        throw;
    }
    Replace(other);
    TakeLook();
    SetTitle(QFileInfo(path).fileName());
    const bool wasHidden = FDock->isHidden();
    FDock->show();
    // The two grids side by side, each whole where the screen holds both.
    if (wasHidden)
        TAppUtils::MakeRoomBeside(FWindow, FDock, FDocument.WholeGridWidth(),
                                  FOther->WholeGridWidth());
}

void TComparePane::Close()
{
    FDock->hide();
    // An empty editor in its place lets go of the other file's working copy.
    Replace(MakeEditor());
}

void TComparePane::Replace(TVxHexcavator *editor)
{
    delete FOther;
    FOther = editor;
    FDock->setWidget(FOther);
}

bool TComparePane::IsOpen() const { return !FDock->isHidden(); }

void TComparePane::SetTitle(const QString &title) { FDock->setWindowTitle(title); }

void TComparePane::TakeLook()
{
    if (FOther->font() != FDocument.font())
        FOther->setFont(FDocument.font());
    if (FOther->ViewStyle() != FDocument.ViewStyle())
        FOther->SetViewStyle(FDocument.ViewStyle());
    if (FOther->CharCode() != FDocument.CharCode())
        FOther->SetCharCode(FDocument.CharCode());
    if (FOther->ColumnBytes() != FDocument.ColumnBytes())
        FOther->SetColumnBytes(FDocument.ColumnBytes());
}

void TComparePane::Follow(int64_t facing)
{
    if (!IsOpen())
        return;
    TakeLook();
    // Rows count from 1 (row 0 is the header); the offset's row keeps the document's
    // distance of the top row from its own offset.
    FOther->SetTopRow(FOther->ClampTopRow(int32_t(facing / 16) + 1));
}
