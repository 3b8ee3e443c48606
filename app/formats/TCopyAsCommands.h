#pragma once
// 編集 > 形式を指定してコピー(&Y): the selection to the clipboard as text for programmers:
// "C言語の配列(&C)", "16進文字列(&H)", "Base64(&B)" and "Pythonのバイト列(&P)" (the forms of
// TVxTextEncoder). The submenu is the place "edit.copyas"; its commands are enabled while
// something is selected.
//
// The text is made in the busy state with progress (Esc stops it, the clipboard unchanged).
// A selection above kAskAbove bytes is asked about first: its text (two to six times its
// size) would hold the clipboard and the programs reading it for a long time.
//
// Who calls: the main window creates it with its feature context; tests call CopyAs or
// trigger the commands.

#include "TFeatureContext.h"
#include "TVxEvent.h"
#include "TVxTextEncoder.h"

#include <cstdint>

class QAction;
class QMenu;

class TCopyAsCommands {
public:
    static constexpr int32_t kAskAbove = int32_t(16) << 20;

    explicit TCopyAsCommands(const TFeatureContext &context);

    QMenu *mnuCopyAs;
    QAction *acCopyAsCArray, *acCopyAsHexString, *acCopyAsBase64, *acCopyAsPython;

    // The selection as `kind` to the clipboard. False when nothing is selected, the user
    // declined a large copy, or it was cancelled or failed (told).
    bool CopyAs(TVxTextEncoder::TKind kind);

private:
    void UpdateCommands();

    TFeatureContext FContext;
    TVxListeners FListen;
};
