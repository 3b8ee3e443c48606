#pragma once
// The real program copied into a private folder root/bin and started there: the settings go
// beside the program (see TAppDir), the temporary files into root/tmp, the instances meet in
// root/runtime, so nothing is written beside the built program and no other test's program
// is met.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#ifndef HEXCAVATOR_PROGRAM
#error "HEXCAVATOR_PROGRAM names the program under test"
#endif

struct TPrivateProgram {
    static constexpr int kDeadlineMs = 30000;
    QTemporaryDir Root;
    QString Bin = Root.filePath(QStringLiteral("bin"));
    QString Tmp = Root.filePath(QStringLiteral("tmp"));
    QString Runtime = Root.filePath(QStringLiteral("runtime"));
#ifdef _WIN32
    QString Program = Bin + QStringLiteral("/hexcavator.exe");
#else
    QString Program = Bin + QStringLiteral("/hexcavator");
#endif
    QString Ini = Bin + QStringLiteral("/Hexcavat.ini");
    // Where the program's instances meet (TPrivateFolder::Locate under Environment()).
#ifdef _WIN32
    QString Instances = Root.filePath(QStringLiteral("home/local/hexcavator/instances"));
#else
    QString Instances = Runtime + QStringLiteral("/hexcavator");
#endif

    // Makes the folders and the copy; call with ASSERT_NO_FATAL_FAILURE.
    void Prepare()
    {
        ASSERT_TRUE(Root.isValid());
        for (const char *sub : {"bin", "tmp", "runtime", "home"})
            ASSERT_TRUE(QDir(Root.path()).mkdir(QString::fromLatin1(sub)));
        ASSERT_TRUE(QFile::setPermissions(Runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        ASSERT_TRUE(QFile::copy(QStringLiteral(HEXCAVATOR_PROGRAM), Program));
    }
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), Tmp);
        // GetTempPathW's variables, and the per-user folders of Windows.
        env.insert(QStringLiteral("TMP"), Tmp);
        env.insert(QStringLiteral("TEMP"), Tmp);
        env.insert(QStringLiteral("LOCALAPPDATA"), Root.filePath(QStringLiteral("home/local")));
        env.insert(QStringLiteral("APPDATA"), Root.filePath(QStringLiteral("home/roaming")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime);
        env.insert(QStringLiteral("HOME"), Root.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), Root.filePath(QStringLiteral("home/.config")));
        return env;
    }
    // Starts the program with `args`, with the default actions for SIGTERM and SIGHUP whatever
    // started this test (the program leaves ignored signals ignored).
    void Start(QProcess &proc, const QStringList &args) const
    {
        proc.setProcessEnvironment(Environment());
#ifndef _WIN32
        proc.setChildProcessModifier([] {
            std::signal(SIGTERM, SIG_DFL);
            std::signal(SIGHUP, SIG_DFL);
        });
#endif
        proc.setProcessChannelMode(QProcess::MergedChannels);
        proc.start(Program, args);
    }
    QString WriteFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = Root.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }
    // Descriptors of the process that lead into its temporary folder: the working copy, with
    // a name or without one.
    int OpenInTmp(qint64 pid) const
    {
        namespace fs = std::filesystem;
        const std::string prefix = Tmp.toStdString() + '/';
        std::error_code ec;
        int n = 0;
        for (const auto &fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec))
            if (fs::read_symlink(fd.path(), ec).string().rfind(prefix, 0) == 0)
                ++n;
        return n;
    }
    // Files left anywhere in the temporary folder.
    int FilesInTmp() const
    {
        namespace fs = std::filesystem;
        int n = 0;
        for (const auto &e : fs::recursive_directory_iterator(Tmp.toStdString()))
            n += e.is_regular_file();
        return n;
    }
};
