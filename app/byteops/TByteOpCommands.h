#pragma once
// Rewriting the selection in place (ツール menu): "選択範囲を埋める(&F)..." fills it with a byte
// pattern, random bytes or a sequence (TfrmFill); "ビット演算(&B)..." applies a bit or
// arithmetic operation to each of its units (TfrmBitOperation). Both are in the place
// "tools.byteops", enabled while something is selected and the editor is not read-only.
//
// Each is one edit: one undo step (redo replays it), run in the busy state with progress and
// Esc to stop it (a stopped one leaves the bytes as they were), streamed through the working
// copy a block at a time, so memory stays flat for a 2 GiB selection. The selection stays
// selected. A bit operation on a selection that is not a multiple of its unit leaves the
// last partial unit as it is, and says so once done.
//
// Who calls: the main window creates it with its feature context; tests call Fill and
// BitOperation with the dialogs' choices.

#include "TFeatureContext.h"
#include "TVxEvent.h"
#include "TfrmBitOperation.h"
#include "TfrmFill.h"

class QAction;
class TVxByteTransform;

class TByteOpCommands {
public:
    explicit TByteOpCommands(const TFeatureContext &context);

    QAction *acFillSelection, *acBitOperation;

    // Apply the choice to the selection. False when nothing changed: nothing selected,
    // read-only, a choice that makes no operation, failure (the busy state said why) or a
    // cancel.
    bool Fill(const TfrmFill::TChoice &choice);
    bool BitOperation(const TfrmBitOperation::TChoice &choice);

private:
    bool Apply(TVxByteTransform &transform, const QString &caption);
    void UpdateCommands();

    TFeatureContext FContext;
    TVxListeners FListen;
    // The dialogs open with what was used the last time.
    TfrmFill::TChoice FFillChoice;
    TfrmBitOperation::TChoice FBitChoice;
};
