#pragma once
// Scripted answers for the program's dialogs, and a record of what was asked and started.

#include "TAppDir.h"
#include "TUiServices.h"

#include <QTemporaryDir>

#include <QList>
#include <QStringList>
#include <deque>

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

    int MessageBox(QWidget *, const QString &text, unsigned flags) override
    {
        Messages << text;
        Flags << flags;
        if (Answers.empty())
            return 1;
        int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    QString AskOpenFileName(QWidget *, const QString &) override { return NextFile(); }
    QString AskSaveFileName(QWidget *, const QString &) override { return NextFile(); }
    bool AskString(QWidget *, const QString &, const QString &, QString &text) override
    {
        if (StringAnswers.empty())
            return false;
        text = StringAnswers.front();
        StringAnswers.pop_front();
        return true;
    }
    bool StartProgram(const QString &program, const QStringList &arguments) override
    {
        Started << (QStringList{program} + arguments);
        return !StartFails;
    }
    bool IsShiftDown() override { return Shift; }

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

// Points the settings file at a private folder while it lives; declare it before the window.
struct TSettingsInTempDir {
    QTemporaryDir Dir;
    TSettingsInTempDir() { TAppDir::SetOverride(Dir.path().toStdString()); }
    ~TSettingsInTempDir() { TAppDir::SetOverride(std::string()); }
    QString Ini() const { return Dir.filePath(QStringLiteral("Hexcavat.ini")); }
};
