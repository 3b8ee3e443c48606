#pragma once
// Scripted answers for the program's dialogs, and a record of what was asked and started.

#include "TAppDir.h"
#include "TFixedPitchFontDialog.h"
#include "TUiServices.h"
#include "TVxMessageBox.h"
#include "TVxDocument.h"
#include "TVxHexcavator.h"
#include "TInstanceCommands.h"
#include "TfrmMain.h"

#include <QAction>
#include <QMainWindow>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <utility>

class TFakeUi : public TUiServices {
public:
    TFakeUi() { TUiServices::SetInstance(this); }
    ~TFakeUi() override { TUiServices::SetInstance(nullptr); }

    std::deque<int> Answers; // message box answers, in order; OK when empty
    QStringList Messages;
    QList<unsigned> Flags;
    std::deque<QString> FileAnswers; // open/save dialog answers; cancel when empty
    int FileDialogs = 0;
    std::deque<QString> StringAnswers; // input dialog; cancel when empty
    QList<QStringList> Started;        // program followed by its arguments
    bool Shift = false;
    bool StartFails = false;
    // Font and colour dialogs: what each started from, and the answers (cancel when empty).
    struct TFontAnswer {
        QFont Font;
        QColor Color;
    };
    std::deque<TFontAnswer> FontAnswers;
    QList<QFont> FontsShown;
    QList<QColor> FontColorsShown;
    std::deque<QColor> ColorAnswers;
    QList<QColor> ColorsShown;
    // Runs inside the next message box, as if the user took a while to answer (events go on).
    std::function<void()> WhileShowing;

    QList<QWidget *> Owners; // the parent each message box was given
    int MessageBox(QWidget *owner, const QString &text, unsigned flags) override
    {
        Owners << owner;
        Messages << text;
        Flags << flags;
        if (WhileShowing)
            std::exchange(WhileShowing, nullptr)();
        if (Answers.empty())
            return 1;
        int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    QString AskOpenFileName(QWidget *, const QString &, const QString &) override { return NextFile(); }
    QString AskSaveFileName(QWidget *, const QString &) override { return NextFile(); }
    bool AskString(QWidget *, const QString &, const QString &, QString &text) override
    {
        if (StringAnswers.empty())
            return false;
        text = StringAnswers.front();
        StringAnswers.pop_front();
        return true;
    }
    bool ExecFontDialog(TFixedPitchFontDialog &dialog) override
    {
        FontsShown << dialog.CurrentFont();
        FontColorsShown << dialog.CurrentColor();
        if (FontAnswers.empty())
            return false;
        dialog.SetCurrentFont(FontAnswers.front().Font);
        dialog.SetCurrentColor(FontAnswers.front().Color);
        FontAnswers.pop_front();
        return true;
    }
    bool ExecColorDialog(QColorDialog &dialog) override
    {
        ColorsShown << dialog.currentColor();
        if (ColorAnswers.empty())
            return false;
        dialog.setCurrentColor(ColorAnswers.front());
        ColorAnswers.pop_front();
        return true;
    }
    bool StartProgram(const QString &program, const QStringList &arguments) override
    {
        Started << (QStringList{program} + arguments);
        StartedEnvironments << QStringList();
        return !StartFails;
    }
    QList<QStringList> StartedEnvironments; // the variables added for each start, as Started
    bool StartProgramWith(const QString &program, const QStringList &arguments, const QStringList &environment) override
    {
        Started << (QStringList{program} + arguments);
        StartedEnvironments << environment;
        return !StartFails;
    }
    bool IsShiftDown() override { return Shift; }
    QStringList Opened; // documents handed to the desktop
    bool OpenFails = false;
    bool OpenDocument(const QString &path) override
    {
        Opened << path;
        return !OpenFails;
    }

private:
    QString NextFile()
    {
        ++FileDialogs;
        if (FileAnswers.empty())
            return QString();
        QString f = FileAnswers.front();
        FileAnswers.pop_front();
        return f;
    }
};

// Files and documents of the window tests.
inline void WriteTestFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// n bytes of a seeded generator: the same for a seed on every run.
inline QByteArray RandomTestBytes(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray b(n, '\0');
    for (char &c : b)
        c = char(rng());
    return b;
}

inline QByteArray ReadTestFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Opens a file in the window through the open rule and switches read-only off, as
// Ctrl+Shift+R would (files open read-only).
// A command of a window by its object name ("acOpen"); fails the test when there is none.
inline QAction *Command(QWidget &window, const char *name)
{
    QAction *a = window.findChild<QAction *>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}
inline QAction *Command(QWidget *window, const char *name) { return Command(*window, name); }

inline void OpenWritable(TfrmMain &frm, const QString &path)
{
    frm.OpenFile(path);
    Command(frm, "acReadOnly")->trigger();
}

inline QByteArray EditorBytes(TVxDocument &doc)
{
    auto v = doc.ReadBytes(0, doc.FileSize());
    return QByteArray(reinterpret_cast<const char *>(v.data()), static_cast<int>(v.size()));
}

// Points the settings file at a private folder while it lives; declare it before the window.
// The user's data folder (file-manager entries) goes there too, so no test touches the real one.
// Also a meeting place of its own for the instances: windows of tests that run at the same
// time in other processes neither count nor hear this one, nor share its search text.
struct TSettingsInTempDir {
    QTemporaryDir Dir;
    QByteArray OldDataHome = qgetenv("XDG_DATA_HOME");
    QByteArray OldRuntime = qgetenv("XDG_RUNTIME_DIR");
    QByteArray OldLocalAppData = qgetenv("LOCALAPPDATA"); // the instances' folder on Windows
    TSettingsInTempDir()
    {
        TAppDir::SetOverride(Dir.path().toStdString());
        qputenv("XDG_DATA_HOME", Dir.filePath(QStringLiteral("share")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", Dir.path().toUtf8());
        qputenv("LOCALAPPDATA", Dir.path().toUtf8());
        TInstanceCommands::SetBlockName("VX_SHAREMEM_SEARCHTEXT-test-" + std::to_string(QCoreApplication::applicationPid()));
    }
    ~TSettingsInTempDir()
    {
        TAppDir::SetOverride(std::string());
        Restore("XDG_DATA_HOME", OldDataHome);
        Restore("XDG_RUNTIME_DIR", OldRuntime);
        Restore("LOCALAPPDATA", OldLocalAppData);
    }
    static void Restore(const char *name, const QByteArray &old)
    {
        if (old.isNull())
            qunsetenv(name);
        else
            qputenv(name, old);
    }
    QString Ini() const { return Dir.filePath(QStringLiteral("Hexcavat.ini")); }
};

// A main window with scripted dialogs, a private settings file and a folder for test files.
struct TWindowTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    TfrmMain frm;
    TVxHexcavator &ed = *frm.VxHexcavator1;
};
