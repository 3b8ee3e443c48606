#include "TByteOpCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"

#include <QAction>
#include <QMainWindow>

#include <stdexcept>

TByteOpCommands::TByteOpCommands(const TFeatureContext &context) : FContext(context)
{
    QObject *o = &FContext.Window;
    acFillSelection = TCommand::Make(o, "acFillSelection", QStringLiteral("選択範囲を埋める(&F)..."), QKeySequence(),
                                     QStringLiteral("選択範囲を埋める"));
    acBitOperation = TCommand::Make(o, "acBitOperation", QStringLiteral("ビット演算(&B)..."), QKeySequence(),
                                    QStringLiteral("ビット演算"));
    FContext.Places.Add(QStringLiteral("tools.byteops"), {acFillSelection, acBitOperation});

    QObject::connect(acFillSelection, &QAction::triggered, o, [this] {
        TfrmFill dlg(&FContext.Window, FFillChoice);
        if (dlg.exec() == QDialog::Accepted)
            Fill(FFillChoice = dlg.Choice());
    });
    QObject::connect(acBitOperation, &QAction::triggered, o, [this] {
        TfrmBitOperation dlg(&FContext.Window, FBitChoice);
        if (dlg.exec() == QDialog::Accepted)
            BitOperation(FBitChoice = dlg.Choice());
    });

    TVxHexcavator &ed = FContext.Editor;
    FListen.Listen(ed.OnMoveCell, [this] { UpdateCommands(); });
    FListen.Listen(ed.OnChangeReadOnlyMode, [this] { UpdateCommands(); });
    FListen.Listen(ed.OnChangeUndo, [this](int32_t) { UpdateCommands(); });
    UpdateCommands();
}

void TByteOpCommands::UpdateCommands()
{
    const bool can = !FContext.Editor.ReadOnlyMode() && FContext.Editor.SelectionLength() > 0;
    acFillSelection->setEnabled(can);
    acBitOperation->setEnabled(can);
}

bool TByteOpCommands::Fill(const TfrmFill::TChoice &choice)
{
    if (!choice.Problem().isEmpty())
        return false;
    TVxFill fill = choice.Make();
    return Apply(fill, QStringLiteral("選択範囲を埋めています"));
}

bool TByteOpCommands::BitOperation(const TfrmBitOperation::TChoice &choice)
{
    if (!choice.Problem().isEmpty())
        return false;
    TVxBitOperation op = choice.Make();
    if (!Apply(op, QStringLiteral("ビット演算をしています")))
        return false;
    const int left = op.TrailingBytes(FContext.Editor.SelectionLength());
    if (left > 0)
        FContext.Busy.Message(QStringLiteral("選択範囲の最後の %1 バイトは単位（%2 バイト）に満たないため、そのままにしました。")
                                  .arg(left)
                                  .arg(choice.Unit.Unit),
                              mbIconInformation);
    return true;
}

bool TByteOpCommands::Apply(TVxByteTransform &transform, const QString &caption)
{
    TVxHexcavator &ed = FContext.Editor;
    int32_t start = -1, end = -1;
    ed.GetSelectionRange(start, end);
    if (ed.ReadOnlyMode() || start < 0 || end < start)
        return false;
    return FContext.Busy.Run([&] { ed.TransformRange(start, end - start + 1, transform, true); }, true, caption);
}
