#pragma once
// ファイル > インポート(&T): "Intel HEX(&I)..." and "Motorola Sレコード(&M)..." read a file chosen
// in the open dialog into an untitled document holding its memory image, from the lowest to
// the highest address, the gaps filled with a byte asked next (16進数, FF by default). The
// submenu is the place "file.import".
//
// As with opening a file, a window that holds nothing (untitled, empty, unchanged) takes the
// image itself; any other window stays as it is and a new instance shows the image, handed
// over through TImportHandoff, so nothing needs asking. Either way the input is read and
// checked here (TVxImporter), in the busy state with progress and Esc: bad input is a
// message naming its line, and nothing opens. The window that shows the image tells the
// user its start (lowest) address.
//
// Who calls: the main window creates it with its feature context; tests call Import or
// drive the commands.

#include "TFeatureContext.h"
#include "TImportHandoff.h"
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

    // Reads fileName as a new untitled document, here or in a new instance. False when the
    // input was bad or could not be read, no instance could be started (told), or the
    // import was cancelled.
    bool Import(TVxRecordReader::TFormat format, const QString &fileName, uint8_t fill);
    // In the new instance: makes the image handed to it this window's untitled document.
    // False when it could not be read (told).
    bool OpenHanded(const TImportHandoff::THanded &handed);

private:
    void Execute(TVxRecordReader::TFormat format);
    void TellStart(uint32_t lowest, int64_t size);

    TFeatureContext FContext;
    QString FFill = QStringLiteral("FF");
};
