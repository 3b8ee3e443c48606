#pragma once
// A scratch $XDG_RUNTIME_DIR for one test: a new 0700 folder in the temporary folder, shared
// by the test's own registries and the helper processes it starts, removed with everything
// in it on destruction. Registry() is the folder the instances meet in.

#include <QString>

class TRuntimeFolder {
public:
    TRuntimeFolder();
    ~TRuntimeFolder();
    TRuntimeFolder(const TRuntimeFolder &) = delete;
    TRuntimeFolder &operator=(const TRuntimeFolder &) = delete;

    const QString &Path() const { return FPath; }
    QString Registry() const { return FPath + QStringLiteral("/hexcavator"); }
    // The instances' socket files now in Registry(), whoever made them.
    QStringList SocketFiles() const;

private:
    QString FPath;
};
