#pragma once
// ファイル > エクスポート(&E): the selection, or the whole document when nothing is selected,
// written to a file in another tool's format: "Intel HEX(&I)..." and "Motorola Sレコード(&M)..."
// (after TfrmExport: the start address, the record size, the S5/S6 count record),
// "C言語の配列(&C)..." and "Base64(&B)...". The file is chosen in the save dialog
// (TUiServices::AskSaveFileName). The submenu is the place "file.export"; its commands are
// enabled while the document holds bytes.
//
// The export streams through the working copy (TVxExporter) in the busy state with progress;
// Esc stops it, and a stopped or failed export leaves no file behind and the target as it
// was. A range whose addresses would pass FFFFFFFF is refused before anything is written.
//
// Who calls: the main window creates it with its feature context; tests call Export with a
// file name and the dialog's choice, or drive the commands.

#include "TFeatureContext.h"
#include "TVxEvent.h"
#include "TfrmExport.h"

class QAction;
class QMenu;
class QString;

class TExportCommands {
public:
    enum class TFormat { IntelHex, SRecord, CArray, Base64 };

    explicit TExportCommands(const TFeatureContext &context);

    QMenu *mnuExport;
    QAction *acExportIntelHex, *acExportSRecord, *acExportCArray, *acExportBase64;

    // Writes the range to fileName; `choice` matters to the record formats only. False when
    // it failed (the user was told why) or was cancelled.
    bool Export(TFormat format, const QString &fileName, const TfrmExport::TChoice &choice);

private:
    // The command: the dialog for the record formats, then the save dialog, then Export.
    void Execute(TFormat format);
    void UpdateCommands();

    TFeatureContext FContext;
    TVxListeners FListen;
    // The dialog opens with what was chosen the last time.
    TfrmExport::TChoice FChoice;
};
