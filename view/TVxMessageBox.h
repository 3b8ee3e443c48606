#pragma once
// A message box from flag values (TVxMsgFlags: buttons in the low nibble, icon in the next)
// to its answer (TVxMsgResult). Shared by the control and the program.

#include <QString>

// Message box flags and answers; the values are the customary Windows ones so stored
// settings and peers that pass them around keep their meaning.
enum TVxMsgFlags : unsigned {
    mbOK = 0x00,
    mbOKCancel = 0x01,
    mbYesNoCancel = 0x03,
    mbYesNo = 0x04,
    mbIconStop = 0x10,
    mbIconQuestion = 0x20,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
};
enum TVxMsgResult : int { idOK = 1, idCancel = 2, idYes = 6, idNo = 7 };

class QWidget;

class TVxMessageBox {
public:
    static int Show(QWidget *parent, const QString &caption, const QString &text, unsigned flags);
};
