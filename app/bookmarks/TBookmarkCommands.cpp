#include "TBookmarkCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"
#include "TfrmBookmarks.h"

#include <QAction>
#include <QMainWindow>

TBookmarkCommands::TBookmarkCommands(const TFeatureContext &context) : FContext(context), FPersistence(context)
{
    using K = QKeySequence;
    QObject *o = &FContext.Window;
    acToggleBookmark = TCommand::Make(o, "acToggleBookmark", QStringLiteral("しおりの設定/解除(&B)"), K(Qt::CTRL | Qt::Key_F2),
                                      QStringLiteral("しおりの設定/解除"));
    acNextBookmark = TCommand::Make(o, "acNextBookmark", QStringLiteral("次のしおり(&M)"), K(Qt::Key_F2), QStringLiteral("次のしおり"));
    acPrevBookmark = TCommand::Make(o, "acPrevBookmark", QStringLiteral("前のしおり(&K)"), K(Qt::SHIFT | Qt::Key_F2),
                                    QStringLiteral("前のしおり"));
    acBookmarkList = TCommand::Make(o, "acBookmarkList", QStringLiteral("しおりの一覧(&L)..."), K(), QStringLiteral("しおりの一覧"));
    FContext.Places.Add(QStringLiteral("search.bookmarks"), {acToggleBookmark, acNextBookmark, acPrevBookmark, acBookmarkList});
    QObject::connect(acToggleBookmark, &QAction::triggered, o, [this] { ToggleBookmark(); });
    QObject::connect(acNextBookmark, &QAction::triggered, o, [this] { GoToBookmark(false); });
    QObject::connect(acPrevBookmark, &QAction::triggered, o, [this] { GoToBookmark(true); });
    QObject::connect(acBookmarkList, &QAction::triggered, o, [this] { ShowList(); });
}

void TBookmarkCommands::ToggleBookmark()
{
    TVxHexcavator &ed = FContext.Editor;
    int32_t lo = -1, hi = -1;
    ed.GetSelectionRange(lo, hi);
    if (lo < 0) {
        lo = hi = ed.GetCaretOffset();
        // The caret may stand after the last byte, where there is nothing to mark.
        if (lo >= ed.FileSize())
            return;
    }
    ed.Bookmarks().Toggle(lo, hi - lo + 1, std::string(), kDefaultColor);
    ed.viewport()->update();
    FPersistence.Changed();
}

void TBookmarkCommands::GoToBookmark(bool backward)
{
    TVxHexcavator &ed = FContext.Editor;
    const int32_t caret = ed.GetCaretOffset();
    const TVxBookmark *m = backward ? ed.Bookmarks().Previous(caret) : ed.Bookmarks().Next(caret);
    if (!m) {
        FContext.Busy.Message(QStringLiteral("しおりがありません。"), mbIconInformation);
        return;
    }
    Jump(m->Offset);
}

void TBookmarkCommands::Jump(int32_t offset)
{
    TVxHexcavator &ed = FContext.Editor;
    ed.SetSelection(-1, -1);
    ed.GotoOffset(offset);
}

void TBookmarkCommands::ShowList()
{
    TVxHexcavator &ed = FContext.Editor;
    TfrmBookmarks dialog(&FContext.Window, ed.Bookmarks(), [this] {
        FContext.Editor.viewport()->update();
        FPersistence.Changed();
    });
    // The bookmark at or after the caret is current, so Return at once goes on from here.
    const TVxBookmark *near = ed.Bookmarks().Next(ed.GetCaretOffset() - 1);
    if (near)
        dialog.SelectId(near->Id);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const TVxBookmark *m = ed.Bookmarks().Find(dialog.CurrentId()))
        Jump(m->Offset);
}
