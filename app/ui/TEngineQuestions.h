#pragma once
// The program's side of TVxDocumentQuestions: each question or notice of the document,
// worded by TEngineMessages, in the program's message box (passed in, so that this unit
// needs nothing of the main window). Questions answer true for Yes.
//
// Contract: WorkCopyFull may arrive from inside a paint, so that notice is shown from the
// event loop, and only while this object lives. The questions and the journal notice are
// shown at once, as the load or save that asks waits for them.
//
// Who calls: the document (attached by TfrmMain with SetQuestions, owned by the window as a
// QObject child).

#include "TVxDocumentQuestions.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class TEngineQuestions : public QObject, public TVxDocumentQuestions {
public:
    // show(text, flags) shows a message box (TVxMsgFlags) and returns its answer (TVxMsgResult).
    using TShow = std::function<int(const QString &text, unsigned flags)>;
    TEngineQuestions(QObject *owner, TShow show);

    bool AskOverwriteChangedFile(const std::string &path) override;
    bool AskSaveWithoutBackup(const std::string &path) override;
    void JournalRecovered(const std::string &path) override;
    void WorkCopyFull(const std::string &path, const std::string &why) override;

private:
    TShow FShow;
};
