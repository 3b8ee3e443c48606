#pragma once
// A message box from the engine's flag values (TVxMsgFlags: buttons in the low nibble, icon
// in the next) to its answer (TVxMsgResult). Shared by the control and the program.

#include <QString>

class QWidget;

class TVxMessageBox {
public:
    static int Show(QWidget *parent, const QString &caption, const QString &text, unsigned flags);
};
