#include "TComparePane.h"

#include "TVxHexcavator.h"

#include <QDockWidget>
#include <QFileInfo>
#include <QMainWindow>

TComparePane::TComparePane(QMainWindow &window, TVxHexcavator &document) : FDocument(document)
{
    FDock = new QDockWidget(&window);
    FDock->setObjectName(QStringLiteral("ComparePane"));
    FDock->setFeatures(QDockWidget::DockWidgetMovable);
    FOther = new TVxHexcavator(FDock);
    FOther->setObjectName(QStringLiteral("CompareEditor"));
    FOther->SetReadOnlyMode(true);
    FDock->setWidget(FOther);
    window.addDockWidget(Qt::RightDockWidgetArea, FDock);
    FDock->hide();
}

TComparePane::~TComparePane() = default;

void TComparePane::Open(const QString &path)
{
    // A fresh editor each time: a failed load leaves the one shown as it was.
    auto *other = new TVxHexcavator(FDock);
    other->setObjectName(QStringLiteral("CompareEditor"));
    try {
        other->LoadFromFile(path.toStdString());
    } catch (...) {
        delete other;
        throw;
    }
    other->SetReadOnlyMode(true);
    delete FOther;
    FOther = other;
    FDock->setWidget(FOther);
    TakeLook();
    SetTitle(QFileInfo(path).fileName());
    FDock->show();
    FOpen = true;
}

void TComparePane::Close()
{
    FDock->hide();
    auto *empty = new TVxHexcavator(FDock);
    empty->setObjectName(QStringLiteral("CompareEditor"));
    empty->SetReadOnlyMode(true);
    delete FOther;
    FOther = empty;
    FDock->setWidget(FOther);
    FOpen = false;
}

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
    if (!FOpen)
        return;
    TakeLook();
    // Rows count from 1 (row 0 is the header); the offset's row keeps the document's
    // distance of the top row from its own offset.
    FOther->SetTopRow(FOther->ClampTopRow(int32_t(facing / 16) + 1));
}
