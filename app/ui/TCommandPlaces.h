#pragma once
// Where the features put their commands: named places in the menus, the tool bar and the
// editor's context menu. A feature adds its commands to places; the main window, which
// alone knows the menu skeleton (which place comes where, the separators between them),
// builds the menus from the places once every feature has added its commands.
//
// Places are named "menu.group" ("file.open", "edit.clipboard", "toolbar.find",
// "editor.clipboard"); the main window's skeleton lists them. Commands of one place keep the
// order in which they were added. A command may sit in several places (menu and tool bar
// share the QAction, so its enabled and checked state shows the same everywhere).
//
// Who calls: features at construction (Add); the main window (At, All) when it builds its
// menus and takes every command's shortcut.

#include <QList>
#include <QString>
#include <utility>
#include <vector>

class QAction;

class TCommandPlaces {
public:
    void Add(const QString &place, const QList<QAction *> &actions);
    QList<QAction *> At(const QString &place) const;
    // Every command placed anywhere, each once, in the order first placed.
    QList<QAction *> All() const;

private:
    std::vector<std::pair<QString, QList<QAction *>>> FPlaces;
};
