#include "TMainActions.h"

#include "TToolIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>

#include <iterator>

namespace {
QAction *Make(QObject *owner, const char *name, const QString &caption, const QKeySequence &key, const QString &hint,
              const QString &icon = QString(), int tag = 0)
{
    auto *a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : hint);
    a->setStatusTip(hint);
    if (!icon.isEmpty())
        a->setIcon(TToolIcons::Icon(icon));
    a->setData(tag);
    return a;
}

QAction *Check(QAction *a, bool checked)
{
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}
} // namespace

int TMainActions::Tag(const QAction *action) { return action ? action->data().toInt() : -1; }

const TMainActions::TCharCodeCommand *TMainActions::CharCodeOfTag(int tag)
{
    static const TCharCodeCommand kByTag[] = {{ccASCII, "ASCII"}, {ccSJIS, "SJIS"}, {ccUNICODE, "UNICODE"},
                                              {ccJIS, "JIS"},     {ccEUC, "EUC"},   {ccUTF8, "UTF-8"}};
    return tag >= 0 && tag < int(std::size(kByTag)) ? &kByTag[tag] : nullptr;
}

QAction *TMainActions::CharCodeAction(const std::string &name) const
{
    for (QAction *a : {acAsciiByte, acSjisByte, acUnicodeByte, acJisByte, acEucByte, acUtf8Byte}) {
        const TCharCodeCommand *c = CharCodeOfTag(Tag(a));
        if (c && name == c->Name)
            return a;
    }
    return nullptr;
}

void TMainActions::Create(QObject *o)
{
    using K = QKeySequence;
    acNew = Make(o, "acNew", QStringLiteral("新規作成(&N)"), K(Qt::CTRL | Qt::Key_N), QStringLiteral("新規作成"), QStringLiteral("new"));
    acOpen = Make(o, "acOpen", QStringLiteral("開く(&O)..."), K(Qt::CTRL | Qt::Key_O), QStringLiteral("開く"), QStringLiteral("open"));
    acSave = Make(o, "acSave", QStringLiteral("上書き保存(&S)"), K(Qt::CTRL | Qt::Key_S), QStringLiteral("上書き保存"), QStringLiteral("save"));
    acSaveAs = Make(o, "acSaveAs", QStringLiteral("名前を付けて保存(&A)..."), K(), QStringLiteral("名前を付けて保存"));
    acReload = Make(o, "acReload", QStringLiteral("読み直し(&R)"), K(), QStringLiteral("読み直し"));
    acInsertFile = Make(o, "acInsertFile", QStringLiteral("ファイルから挿入(&C)..."), K(), QStringLiteral("ファイルから挿入"));
    acPrint = Make(o, "acPrint", QStringLiteral("印刷(&P)..."), K(Qt::CTRL | Qt::Key_P), QString(), QStringLiteral("print"));
    acCloseAll = Make(o, "acCloseAll", QStringLiteral("全て閉じる(&L)"), K(Qt::CTRL | Qt::Key_E), QString());
    acClose = Make(o, "acClose", QStringLiteral("閉じる(&X)"), K(Qt::ALT | Qt::Key_F4), QStringLiteral("閉じる"), QStringLiteral("close"));

    acUndo = Make(o, "acUndo", QStringLiteral("元に戻す(&U)"), K(Qt::CTRL | Qt::Key_Z), QStringLiteral("元に戻す"), QStringLiteral("undo"));
    acUndo->setEnabled(false);
    acRedo = Make(o, "acRedo", QStringLiteral("やり直し(&R)"), K(Qt::CTRL | Qt::Key_Y), QStringLiteral("やり直し"), QStringLiteral("redo"));
    acRedo->setShortcuts({K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    acRedo->setEnabled(false);
    acCut = Make(o, "acCut", QStringLiteral("切り取り(&X)"), K(Qt::CTRL | Qt::Key_X), QStringLiteral("切り取り"), QStringLiteral("cut"));
    acCopy = Make(o, "acCopy", QStringLiteral("コピー(&C)"), K(Qt::CTRL | Qt::Key_C), QStringLiteral("コピー"), QStringLiteral("copy"));
    acCopyText = Make(o, "acCopyText", QStringLiteral("テキスト形式でコピー(&T)"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_C), QString());
    acPaste = Make(o, "acPaste", QStringLiteral("貼り付け(&P)"), K(Qt::CTRL | Qt::Key_V), QStringLiteral("貼り付け("), QStringLiteral("paste"));
    acDelete = Make(o, "acDelete", QStringLiteral("削除(&D)"), K(Qt::Key_Delete), QStringLiteral("削除"));
    acInputStr = Make(o, "acInputStr", QStringLiteral("文字列の入力(&I)..."), K(Qt::CTRL | Qt::Key_I), QString());
    acSelectAll = Make(o, "acSelectAll", QStringLiteral("全て選択(&A)"), K(Qt::CTRL | Qt::Key_A), QStringLiteral("全て選択"));
    acReadOnly = Check(Make(o, "acReadOnly", QStringLiteral("書き換え禁止(&O)"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                            QStringLiteral("書き換え禁止"), QStringLiteral("readonly")), false);
    acClearClipBoard = Make(o, "acClearClipBoard", QStringLiteral("クリップボードの内容をクリア(&F)"), K(),
                            QStringLiteral("クリップボードの内容をクリア"));
    acOption = Make(o, "acOption", QStringLiteral("環境設定(&S)..."), K(Qt::ALT | Qt::Key_Return), QStringLiteral("環境設定"),
                    QStringLiteral("option"));

    CharCodeGroup = new QActionGroup(o);
    acAsciiByte = Check(Make(o, "acAsciiByte", QStringLiteral("&ASCII"), K(), QStringLiteral("ASCII"), QString(), 0), true);
    acSjisByte = Check(Make(o, "acSjisByte", QStringLiteral("シフトJIS(&S)"), K(), QStringLiteral("シフトJIS"), QString(), 1), false);
    acUnicodeByte = Check(Make(o, "acUnicodeByte", QStringLiteral("&UNICODE"), K(), QStringLiteral("UNICODE"), QString(), 2), false);
    acJisByte = Check(Make(o, "acJisByte", QStringLiteral("&JIS"), K(), QString(), QString(), 3), false);
    acEucByte = Check(Make(o, "acEucByte", QStringLiteral("&EUC"), K(), QString(), QString(), 4), false);
    acUtf8Byte = Check(Make(o, "acUtf8Byte", QStringLiteral("UTF-&8"), K(), QStringLiteral("UTF-8"), QString(), 5), false);
    for (QAction *a : {acAsciiByte, acSjisByte, acUnicodeByte, acUtf8Byte, acJisByte, acEucByte})
        CharCodeGroup->addAction(a);
    // JIS has no decoder: it stays out of the menu.
    acJisByte->setEnabled(false);
    acJisByte->setVisible(false);

    acViewToolBar = Check(Make(o, "acViewToolBar", QStringLiteral("ツールバー(&T)"), K(), QStringLiteral("ツールバー")), true);
    acViewStatusBar = Check(Make(o, "acViewStatusBar", QStringLiteral("ステータスバー(&S)"), K(), QStringLiteral("ステータスバー")), true);
    acViewAddressHeader = Check(Make(o, "acViewAddressHeader", QStringLiteral("アドレスヘッダ(&A)"), K(), QStringLiteral("アドレスヘッダ")), true);
    acViewByteView = Check(Make(o, "acViewByteView", QStringLiteral("バイトビュー(&B)"), K(), QStringLiteral("バイトビュー")), true);
    acViewUnderLine = Check(Make(o, "acViewUnderLine", QStringLiteral("カーソル行アンダーライン(&U)"), K(), QString()), false);

    ColumnBytesGroup = new QActionGroup(o);
    accb1byte = Check(Make(o, "accb1byte", QStringLiteral("&1. 1バイト"), K(), QString(), QString(), 1), true);
    accb2byte = Check(Make(o, "accb2byte", QStringLiteral("&2. 2バイト"), K(), QString(), QString(), 2), false);
    accb4byte = Check(Make(o, "accb4byte", QStringLiteral("&3. 4バイト"), K(), QString(), QString(), 4), false);
    accb8byte = Check(Make(o, "accb8byte", QStringLiteral("&4. 8バイト"), K(), QString(), QString(), 8), false);
    accb16byte = Check(Make(o, "accb16byte", QStringLiteral("&5. 16バイト"), K(), QString(), QString(), 16), false);
    for (QAction *a : {accb1byte, accb2byte, accb4byte, accb8byte, accb16byte})
        ColumnBytesGroup->addAction(a);

    acNextInstance = Make(o, "acNextInstance", QStringLiteral("前のウィンドウ(&P)"), K(Qt::CTRL | Qt::Key_Tab), QString());
    acFind = Make(o, "acFind", QStringLiteral("検索(&F)..."), K(Qt::CTRL | Qt::Key_F), QStringLiteral("検索"), QStringLiteral("find"));
    acFindNext = Make(o, "acFindNext", QStringLiteral("次を検索(&N)"), K(Qt::Key_F3), QStringLiteral("次を検索"), QStringLiteral("findnext"));
    acFindPrev = Make(o, "acFindPrev", QStringLiteral("前を検索(&P)"), K(Qt::SHIFT | Qt::Key_F3), QStringLiteral("前を検索"),
                      QStringLiteral("findprev"));
    acReplace = Make(o, "acReplace", QStringLiteral("置換(&R)..."), K(Qt::CTRL | Qt::Key_H), QString());
    acOffsetJump = Make(o, "acOffsetJump", QStringLiteral("オフセットジャンプ(&O)"), K(Qt::Key_F4), QStringLiteral("オフセットジャンプ"));
    acJump = Make(o, "acJump", QStringLiteral("指定アドレスにジャンプ(&J)..."), K(Qt::CTRL | Qt::Key_G),
                  QStringLiteral("指定アドレスにジャンプ"));
    acVersion = Make(o, "acVersion", QStringLiteral("バージョン情報(&A)..."), K(), QStringLiteral("バージョン情報"));
    acHomepage = Make(o, "acHomepage", QStringLiteral("作者ホームページ(&W)"), K(), QStringLiteral("作者ホームページ"));
}

QList<QAction *> TMainActions::All() const
{
    return {acNew, acOpen, acSave, acSaveAs, acReload, acInsertFile, acPrint, acCloseAll, acClose, acUndo, acRedo, acCut,
            acCopy, acCopyText, acPaste, acDelete, acInputStr, acSelectAll, acReadOnly, acClearClipBoard, acOption,
            acAsciiByte, acSjisByte, acUnicodeByte, acUtf8Byte, acJisByte, acEucByte, acViewToolBar, acViewStatusBar,
            acViewAddressHeader, acViewByteView, acViewUnderLine, accb1byte, accb2byte, accb4byte, accb8byte,
            accb16byte, acNextInstance, acFind, acFindNext, acFindPrev, acReplace, acOffsetJump, acJump, acVersion,
            acHomepage};
}
