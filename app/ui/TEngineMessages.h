#pragma once
// The words a user reads for what the engine reports: its typed errors (TVxError), its
// questions and notices (TVxDocumentQuestions) and the name of an untitled document. The
// engine and the view hold no such text; this unit is where it lives.
//
// Contract: each text is exactly what the program has always shown for that case (paths
// arrive from the engine in the local 8-bit encoding and are decoded). Plain functions of
// their arguments; no state.
//
// Who calls: whatever shows an exception to the user (TfrmMain::Run, TFileCommands,
// THexApplication, the editor's OnError) through TextOf; TEngineQuestions for the questions
// and notices; the main window for Untitled and NoWorkCopy.

#include <QString>

#include <exception>
#include <string>

class TVxError;

class TEngineMessages {
public:
    // What to show for any exception: a TVxError in the program's words, anything else its
    // what() (system and platform failures carry their own text).
    static QString TextOf(const std::exception &e);
    // The same for a stored failure (TVxDocument::LastWriteFailure); empty for none.
    static QString TextOf(const std::exception_ptr &failure);
    static QString ErrorText(const TVxError &e);

    // Questions (Yes/No) and notices of TVxDocumentQuestions, by the same names.
    static QString OverwriteChangedFile(const std::string &path);
    static QString SaveWithoutBackup(const std::string &path);
    static QString JournalRecovered(const std::string &path);
    static QString WorkCopyFull(const std::string &path, const std::string &why);
    // The document has no working copy in the temporary folder (why: the system's reason).
    static QString NoWorkCopy(const std::string &why);
    // What a document without a file name is called.
    static QString Untitled();
};
