#pragma once
// Turns what the desktop dropped on the window into paths to open, in the order given:
// local files only, symlinks and freedesktop link entries (.desktop files of Type=Link)
// resolved to their targets, each an absolute clean path of an existing file.
//
// Who calls: the main window, for what is dropped on it.

#include <QList>
#include <QStringList>
#include <QUrl>

class TDroppedFiles {
public:
    static QStringList Resolve(const QList<QUrl> &urls);
    // One path as a command-line or dropped file: link resolution and long-form expansion.
    // Empty when it does not name an existing file.
    static QString ResolvePath(const QString &path);
};
