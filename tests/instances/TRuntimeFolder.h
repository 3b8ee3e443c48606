#pragma once
// A scratch base for the instances' folder in one test: a new private folder in the
// temporary folder, given to the helper processes as the variable that TPrivateFolder::Locate
// reads (kVariable), shared by the test's own registries and those helpers, removed with
// everything in it on destruction. Registry() is the folder the instances meet in.

#include <QString>

class TRuntimeFolder {
public:
#ifdef _WIN32
    static constexpr const char *kVariable = "LOCALAPPDATA";
    static constexpr const char *kRegistryLeaf = "/hexcavator/instances";
#else
    static constexpr const char *kVariable = "XDG_RUNTIME_DIR";
    static constexpr const char *kRegistryLeaf = "/hexcavator";
#endif

    TRuntimeFolder();
    ~TRuntimeFolder();
    TRuntimeFolder(const TRuntimeFolder &) = delete;
    TRuntimeFolder &operator=(const TRuntimeFolder &) = delete;

    const QString &Path() const { return FPath; }
    QString Registry() const { return FPath + QLatin1String(kRegistryLeaf); }
    // The instances' socket files now in Registry(), whoever made them.
    QStringList SocketFiles() const;

private:
    QString FPath;
};
