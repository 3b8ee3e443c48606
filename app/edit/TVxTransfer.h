#pragma once
// Moves bytes between the editor and the outside: the clipboard (binary format "CF_VXBINARY"
// beside a text form), the hexadecimal dump as text, another file, and typed strings.
//
// The binary format carries its own length, so a copied range with zero bytes in it pastes
// whole. Texts become bytes in the code the column shows (TVxTextCodec: CP932 for ASCII and
// Shift-JIS, as always), and copied bytes become the text the column shows.
//
// Cut, paste, inserting a file and inserting text do nothing in read-only mode; copy and copy
// as text work. Errors (a file that cannot be read, a full disk) propagate as exceptions after
// the document has been left as it was.
//
// Who calls: TEditCommands owns one (its commands run it in the busy state); the editor's
// clipboard keys reach it through the members it assigns.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class TBusyState;
class TVxHexcavator;

class TVxTransfer {
public:
    static constexpr const char *kBinaryFormat = "CF_VXBINARY";

    // Connects the editor's clipboard keys to this object (cut and paste in `busy`), for as
    // long as it lives.
    TVxTransfer(TVxHexcavator &editor, TBusyState &busy);
    ~TVxTransfer();
    TVxTransfer(const TVxTransfer &) = delete;
    TVxTransfer &operator=(const TVxTransfer &) = delete;

    void CopyRange(int32_t a, int32_t b);
    void CutRange(int32_t a, int32_t b);
    void PasteAt(int32_t offset);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void CopyAsText();
    // The paste command: the binary format when present, else the clipboard's text as bytes.
    void PasteCommand();
    void InsertFromFile(const QString &fileName);
    // A text in the column's code (TVxTextCodec); a character the code cannot carry throws
    // TVxError TextNotEncodable before anything changes.
    void InsertText(const QString &text);
    void InsertText(const QByteArray &bytes);

    static bool ClipboardHasBinary();
    static bool ClipboardHasText();

private:
    // The clipboard's text beside copied bytes that begin at `offset`: the column's
    // filter as CP932 for ASCII and Shift-JIS, the column's characters for the other codes.
    QString TextForm(const std::vector<uint8_t> &bytes, int32_t offset) const;

    TVxHexcavator &FEditor;
    TBusyState &FBusy;
};
