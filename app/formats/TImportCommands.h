#pragma once
// ファイル > インポート(&T): "Intel HEX(&I)..." and "Motorola Sレコード(&M)..." read a file chosen
// in the open dialog into an untitled document holding its memory image, from the lowest to
// the highest address, the gaps filled with a byte asked next (16進数, FF by default). The
// submenu is the place "file.import".
//
// The image replaces the window's document (a new window of its own would need the image
// handed to another process): unsaved changes are asked about first, as reading the file
// again does. The file is checked completely before anything is written (TVxImporter), in
// the busy state with progress and Esc; bad input is a message naming its line, and the
// document stays as it was. Afterwards the user is told the image's start (lowest) address.
//
// Who calls: the main window creates it with its feature context; tests call Import or
// drive the commands.

#include "TFeatureContext.h"
#include "TVxRecordReader.h"

#include <QString>

#include <cstdint>

class QAction;
class QMenu;

class TImportCommands {
public:
    explicit TImportCommands(const TFeatureContext &context);

    QMenu *mnuImport;
    QAction *acImportIntelHex, *acImportSRecord;

    // Reads fileName as a new untitled document. False when the user kept the unsaved
    // changes, the input was bad or could not be read (told), or the import was cancelled.
    bool Import(TVxRecordReader::TFormat format, const QString &fileName, uint8_t fill);

private:
    void Execute(TVxRecordReader::TFormat format);

    TFeatureContext FContext;
    QString FFill = QStringLiteral("FF");
};
