#pragma once
// How every feature makes its commands: a QAction with object name, caption, shortcut,
// tool tip and status tip, icon and integer tag, so that all commands of the program look
// and behave alike wherever a feature places them (menus, tool bar, the editor's menu).
//
// Who calls: every feature, for each of its commands.

#include <QKeySequence>
#include <QString>

class QAction;
class QObject;

class TCommand {
public:
    // The tool tip is `hint`, or the caption without its accelerator when there is none.
    static QAction *Make(QObject *owner, const char *name, const QString &caption, const QKeySequence &key,
                         const QString &hint, const QString &icon = QString(), int tag = 0);
    static QAction *Checkable(QAction *action, bool checked);
    // The command's integer tag; -1 for none.
    static int Tag(const QAction *action);
};
