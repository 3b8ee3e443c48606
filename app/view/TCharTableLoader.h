#pragma once
// Loads a user's character table for the column and words what went wrong: the file and,
// for a fault inside it, the line, in the program's messages. A table that cannot be used
// is never half used: Load gives nothing and the caller keeps or falls back to a code.
//
// Who calls: TViewCommands, when the user picks a table and when the settings name one.

#include <QString>
#include <memory>

class TVxCharTable;

class TCharTableLoader {
public:
    // The table at `path`; null with `error` set when it cannot be read or parsed.
    static std::shared_ptr<const TVxCharTable> Load(const QString &path, QString &error);
};
