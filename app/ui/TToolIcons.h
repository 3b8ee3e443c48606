#pragma once
// The toolbar's 24x24 icons, drawn in code so that they exist on every desktop, themed or not.
//
// Who calls: TCommand, for the commands that have a tool-bar icon.

#include <QIcon>
#include <QString>

class TToolIcons {
public:
    // Names: close, new, open, save, print, undo, find, findnext, findprev, cut, copy, paste,
    // option, readonly. An unknown name gives a plain frame.
    static QIcon Icon(const QString &name);
};
