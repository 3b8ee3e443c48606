#pragma once
// What the document asks of the person using it, and what it tells them: typed calls with
// the file concerned, never words. The program implements this and words every call for
// the user (app/ui); the engine and the view hold no such text. Every method has the
// answer of a session without a user (the first button: yes, go on; a notice: nothing), so
// the engine runs and is tested without one.
//
// The document calls these on the one user-interface thread, attached with
// TVxDocument::SetQuestions. None of them may call back into an edit of the document.

#include <string>

class TVxDocumentQuestions {
public:
    virtual ~TVxDocumentQuestions() = default;

    // A save to path finds the file changed on disk (or gone) since it was loaded or last
    // saved here. true: overwrite it; false: the save returns false and writes nothing.
    virtual bool AskOverwriteChangedFile(const std::string &path) { return true; }
    // A save to path could not make the wanted backup generation. true: save without one;
    // false: the save returns false and writes nothing.
    virtual bool AskSaveWithoutBackup(const std::string &path) { return true; }
    // A load of path found a save of it that was cut short and put the file's previous
    // contents back first; called once the load is complete.
    virtual void JournalRecovered(const std::string &path) {}
    // The temporary folder took no more writes (why: the system's reason): edits of the
    // document path stay in the cache window, which cannot move any more (see TVxWorkCopy).
    // Once until the window can move again. May come from inside any read, a paint
    // included: tell the user later, from the event loop, not from inside the call.
    virtual void WorkCopyFull(const std::string &path, const std::string &why) {}
};
