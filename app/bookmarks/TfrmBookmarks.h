#pragma once
// The dialog "しおりの一覧": the document's bookmarks in offset order, one row each with its
// offset (8 hex digits), length (bytes, decimal), name and colour, and the buttons
// "ジャンプ(&J)", "名前の変更(&R)...", "色の変更(&C)...", "削除(&D)" and "閉じる".
//
// Return or a double click on a row jumps as ジャンプ does: the dialog closes and the caller
// moves the caret to the bookmark. Rename asks for the name in the one-line input dialog and
// recolour in the colour dialog (through TUiServices), both starting from the current value;
// delete takes the row's bookmark away at once. Each change is made on the document's
// bookmarks, then told through `changed` (which keeps them in the bookmarks file); the list
// is built again and the same bookmark stays current.
//
// Who calls: the bookmark commands (検索 > しおりの一覧).

#include <QDialog>

#include <cstdint>
#include <functional>

class QPushButton;
class QTreeWidget;
class TVxBookmarks;
struct TVxBookmark;

class TfrmBookmarks : public QDialog {
    Q_OBJECT
public:
    TfrmBookmarks(QWidget *parent, TVxBookmarks &marks, std::function<void()> changed);

    // The bookmark of the current row, 0 when the list is empty; after an accepted dialog,
    // the one to jump to.
    int64_t CurrentId() const;
    void SelectId(int64_t id);

    void Rename();
    void Recolor();
    void Delete();

    QTreeWidget *lstMarks;
    QPushButton *btnJump, *btnRename, *btnColor, *btnDelete, *btnClose;

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void Fill(int64_t current);
    // After a change to the bookmarks: the list again, `current` its current row, and the caller told.
    void Changed(int64_t current);
    const TVxBookmark *Current() const;

    TVxBookmarks &FMarks;
    std::function<void()> FChanged;
};
