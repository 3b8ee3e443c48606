#pragma once
// Bookmarks in the 検索 menu: "しおりの設定/解除(&B)" (Ctrl+F2) sets a bookmark on the selection,
// or on the byte under the caret, or takes away the one that is exactly there; "次のしおり(&M)"
// (F2) and "前のしおり(&K)" (Shift+F2) move the caret to the start of the next / previous
// bookmark, wrapping around, and say "しおりがありません。" when there is none. The bookmarks
// live in the document (TVxBookmarks), which moves them with every edit; they are outlined
// in the grid in their colour. "しおりの一覧(&L)..." opens TfrmBookmarks, where they are
// renamed, recoloured, deleted and jumped to. Every change is kept in the bookmarks file
// (TBookmarkPersistence), which also gives a file its bookmarks back when it is loaded.
// Place: "search.bookmarks".
//
// Who calls: the main window creates it with its feature context.

#include "TBookmarkPersistence.h"
#include "TFeatureContext.h"

#include <cstdint>

class QAction;

class TBookmarkCommands {
public:
    // The colour of a new bookmark (0xBBGGRR): a blue that shows on white, on the selection's
    // navy and on the compare's orange.
    static constexpr uint32_t kDefaultColor = 0xD77800;

    explicit TBookmarkCommands(const TFeatureContext &context);

    QAction *acToggleBookmark, *acNextBookmark, *acPrevBookmark, *acBookmarkList;

    void ToggleBookmark();
    void GoToBookmark(bool backward);
    void ShowList();

private:
    void Jump(int32_t offset);

    TFeatureContext FContext;
    TBookmarkPersistence FPersistence;
};
