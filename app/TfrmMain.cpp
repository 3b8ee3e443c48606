#include "TfrmMain.h"

#include "TAppUtils.h"
#include "TByteValuesPanel.h"
#include "TBusyProgress.h"
#include "TDroppedFiles.h"
#include "TEngineMessages.h"
#include "TEngineQuestions.h"
#include "TFileCommands.h"
#include "THelpFile.h"
#include "TInstanceCommands.h"
#include "TMainSettings.h"
#include "TOptionCommands.h"
#include "TPrintCommands.h"
#include "TRecentFiles.h"
#include "TFileWatch.h"
#include "TSearchCommands.h"
#include "TStatusPanel.h"
#include "TUiServices.h"
#include "TVxHexcavator.h"
#include "TVxTransfer.h"
#include "TfrmVersion.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <exception>

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);
    TAppUtils::SetMainWindow(this);

    VxHexcavator1 = new TVxHexcavator(this);
    VxHexcavator1->setObjectName(QStringLiteral("VxHexcavator1"));
    setCentralWidget(VxHexcavator1);
    FProgress = std::make_unique<TBusyProgress>();
    VxHexcavator1->SetProgress(FProgress.get());
    TAppUtils::SetBusyProgress(FProgress.get());
    VxHexcavator1->RunBlockEdit = [](const std::function<void()> &edit) {
        TBusy busy(QStringLiteral("編集しています"));
        edit();
    };
    FTransfer = std::make_unique<TVxTransfer>(*VxHexcavator1);
    FFiles = std::make_unique<TFileCommands>(*this);
    FWatch = std::make_unique<TFileWatch>(*this);
    // Every load and save moves the watch to the document's file as it now stands.
    FListen.Listen(VxHexcavator1->OnFileOpen, [this] { FWatch->Follow(); });
    FFiles->OnSaved = [this] { FWatch->Follow(); };
    FRecent = std::make_unique<TRecentFiles>(*this);
    FListen.Listen(VxHexcavator1->OnFileOpen, [this] { FRecent->VxHexcavator1FileOpen(); });
    FListen.Listen(VxHexcavator1->OnFileOpenAnyInstance, [this] { FRecent->LoadRecentFiles(); });
    FSettings = std::make_unique<TMainSettings>(*this);
    FOptions = std::make_unique<TOptionCommands>(*this);
    FPrints = std::make_unique<TPrintCommands>(*this);

    Actions.Create(this);
    FSearches = std::make_unique<TSearchCommands>(*this);
    FInstances = std::make_unique<TInstanceCommands>(*this);
    FValuesPanel = std::make_unique<TByteValuesPanel>(*this);
    addActions(Actions.All()); // shortcuts work wherever the focus is in this window
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    ConnectCommands();
    // The size without a saved position: the whole grid in the editor's font, and every
    // status panel at its full width.
    resize(std::max(VxHexcavator1->WholeGridWidth(), statusBar()->sizeHint().width()), 480);

    FListen.Listen(VxHexcavator1->OnMoveCell, [this] { VxHexcavator1MoveCell(); });
    FListen.Listen(VxHexcavator1->OnChangeEditMode, [this] { VxHexcavator1ChangeEditMode(); });
    FListen.Listen(VxHexcavator1->OnChangeReadOnlyMode, [this] { VxHexcavator1ChangeEditMode(); });
    FListen.Listen(VxHexcavator1->OnChangeFileSize, [this] { VxHexcavator1ChangeFileSize(); });
    FListen.Listen(VxHexcavator1->OnChangeUndo, [this](int32_t n) { VxHexcavator1ChangeUndo(n); });
    VxHexcavator1->SetQuestions(new TEngineQuestions(this, &TAppUtils::ShowAppMessage));
    VxHexcavator1->SetUntitledName(TEngineMessages::Untitled().toStdString());
    VxHexcavator1->OnError = [](const std::exception &e) {
        TAppUtils::ShowAppMessage(TEngineMessages::TextOf(e), mbOK | mbIconStop);
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        UpdatePasteState();
        Actions.acClearClipBoard->setEnabled(Actions.acPaste->isEnabled());
    });

    setAcceptDrops(true);
    FApplicationTitle = TAppUtils::ApplicationTitle();
    UpdateTitle();
    Actions.acCut->setEnabled(false);
    Actions.acCopyText->setEnabled(false);
    Actions.acReload->setEnabled(false);
    VxHexcavator1->SetCaretColor(QColor(0x80, 0x80, 0x80));
    VxHexcavator1ChangeEditMode();
    VxHexcavator1ChangeFileSize();
    VxHexcavator1->setFocus();
    // Without a temporary folder the window still opens, empty, and says why once it shows.
    if (!VxHexcavator1->WorkCopyError().empty()) {
        const QString why = TEngineMessages::NoWorkCopy(VxHexcavator1->WorkCopyError());
        QTimer::singleShot(0, this, [why] { TAppUtils::ShowAppMessage(why, 0x10); });
    }
    FSettings->LoadSettings();
}

TfrmMain::~TfrmMain()
{
    // An instance that closes while others run leaves the file to the last one.
    if (FInstances->LeaveAsLast())
        FSettings->SaveSettings();
    FInstances.reset(); // its hooks point into the editor and the search commands
    // The editor's events point back here; silence them before the members go.
    FListen.Clear();
    VxHexcavator1->SetQuestions(nullptr);
    VxHexcavator1->OnError = nullptr;
    TAppUtils::SetMainWindow(nullptr);
    TAppUtils::SetBusyProgress(nullptr);
    VxHexcavator1->SetProgress(nullptr);
}

void TfrmMain::BuildMenus()
{
    TMainActions &a = Actions;
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    FFileMenu = file;
    file->addActions({a.acNew, a.acOpen, a.acSave, a.acSaveAs});
    file->addSeparator();
    file->addActions({a.acReload, a.acInsertFile});
    file->addSeparator();
    file->addAction(a.acPrint);
    file->addSeparator()->setObjectName(QStringLiteral("mnuMRUStart"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuMRUEnd"));
    file->addAction(a.acCloseAll);
    file->addSeparator();
    file->addAction(a.acClose);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->addActions({a.acUndo, a.acRedo});
    edit->addSeparator();
    edit->addActions({a.acCut, a.acCopy, a.acCopyText, a.acPaste, a.acDelete});
    edit->addSeparator();
    edit->addAction(a.acInputStr);
    edit->addSeparator();
    edit->addActions({a.acSelectAll, a.acReadOnly});
    edit->addSeparator();
    edit->addActions({a.acClearClipBoard, a.acOption});

    QMenu *view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    QMenu *code = view->addMenu(QStringLiteral("文字コード(&M)"));
    code->addActions({a.acAsciiByte, a.acSjisByte, a.acUnicodeByte, a.acUtf8Byte, a.acJisByte, a.acEucByte});
    view->addSeparator();
    view->addActions({a.acViewToolBar, a.acViewStatusBar});
    FValuesPanel->AddToViewMenu(view);
    view->addSeparator();
    view->addActions({a.acViewAddressHeader, a.acViewByteView, a.acViewUnderLine});
    view->addSeparator();
    QMenu *cols = view->addMenu(QStringLiteral("カラムのバイト数(&C)"));
    cols->addActions({a.accb1byte, a.accb2byte, a.accb4byte, a.accb8byte, a.accb16byte});
    view->addSeparator();
    view->addAction(QStringLiteral("次のウィンドウ(&N)"));
    // acNextInstance has no visible menu entry: the window holds it, so its shortcut works.

    QMenu *search = menuBar()->addMenu(QStringLiteral("検索(&S)"));
    search->addAction(a.acFind);
    search->addSeparator();
    search->addActions({a.acFindNext, a.acFindPrev});
    search->addSeparator();
    search->addAction(a.acReplace);
    search->addSeparator();
    search->addActions({a.acOffsetJump, a.acJump});

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(a.acVersion);
    help->addSeparator();
    help->addAction(a.acHomepage);

    FEditorMenu = new QMenu(this);
    FEditorMenu->addActions({a.acUndo, a.acRedo});
    FEditorMenu->addSeparator();
    FEditorMenu->addActions({a.acCut, a.acCopy, a.acCopyText, a.acPaste});
    FEditorMenu->addSeparator();
    FEditorMenu->addAction(a.acDelete);
    FEditorMenu->addSeparator();
    FEditorMenu->addAction(a.acInputStr);
    VxHexcavator1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(VxHexcavator1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { FEditorMenu->popup(VxHexcavator1->mapToGlobal(pos)); });
}

void TfrmMain::BuildToolBar()
{
    TMainActions &a = Actions;
    FToolBar = addToolBar(QStringLiteral("ツールバー"));
    FToolBar->setObjectName(QStringLiteral("ToolBar1"));
    FToolBar->setMovable(false);
    FToolBar->setFloatable(false);
    FToolBar->setIconSize(QSize(24, 24));
    FToolBar->toggleViewAction()->setVisible(false);
    FToolBar->addAction(a.acClose);
    FToolBar->addSeparator();
    FToolBar->addActions({a.acNew, a.acOpen, a.acSave});
    FToolBar->addSeparator();
    FToolBar->addAction(a.acPrint);
    FToolBar->addSeparator();
    FToolBar->addActions({a.acUndo, a.acRedo});
    FToolBar->addSeparator();
    FToolBar->addActions({a.acFind, a.acFindNext, a.acFindPrev});
    FToolBar->addSeparator();
    FToolBar->addActions({a.acCut, a.acCopy, a.acPaste});
    FToolBar->addSeparator();
    FToolBar->addAction(a.acOption);
    FToolBar->addSeparator();
    FToolBar->addAction(a.acReadOnly);
}

void TfrmMain::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    // The widest text each panel shows: documents hold at most 2147483647 bytes.
    const QStringList longest[5] = {
        {},
        {QStringLiteral("位置 2,147,483,647 (0x7FFFFFFF)"), QStringLiteral("選択 2,147,483,647 (0x7FFFFFFF) バイト")},
        {QStringLiteral("ファイル 2,147,483,647 バイト")},
        {QStringLiteral("ASCII"), QStringLiteral("SJIS"), QStringLiteral("UNICODE"), QStringLiteral("JIS"),
         QStringLiteral("EUC"), QStringLiteral("UTF-8")},
        {QStringLiteral("書禁"), QStringLiteral("挿入"), QStringLiteral("上書")},
    };
    for (int i = 0; i < 5; ++i) {
        auto *panel = new TStatusPanel(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->SetLongestTexts(longest[i]);
        FPanels[i] = panel;
        // Panel 0 takes whatever width the other four leave.
        if (i == 0)
            bar->addWidget(panel, 1);
        else
            bar->addPermanentWidget(panel);
    }
    FPanels[3]->setText(QStringLiteral("ASCII"));
    // The five panels are all the status bar shows: a command's status tip would hide panel 0
    // and cover the others, so any message is taken back as soon as it is set.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString &message) {
        if (!message.isEmpty())
            bar->clearMessage();
    });
}

QString TfrmMain::PanelText(int panel) const { return FPanels[panel]->text(); }

QString TfrmMain::Grouped(qint64 n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

bool TfrmMain::Run(const std::function<void()> &work, bool busy, const QString &caption)
{
    std::unique_ptr<TBusy> guard(busy ? new TBusy(caption) : nullptr);
    try {
        work();
        return true;
    } catch (const TVxCancelled &) {
        return false; // the user stopped it; everything is as it was
    } catch (const std::exception &e) {
        guard.reset(); // the message box needs a usable window
        TAppUtils::ShowAppMessage(TEngineMessages::TextOf(e), 0x10);
        return false;
    }
}

void TfrmMain::UpdateTitle()
{
    QString name = QFileInfo(QFile::decodeName(VxHexcavator1->FileName().c_str())).fileName();
    if (name.isEmpty())
        name = QStringLiteral("無題");
    if (VxHexcavator1->Modified())
        name += QStringLiteral(" *");
    const QString caption = name + QStringLiteral(" - ") + FApplicationTitle;
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void TfrmMain::VxHexcavator1MoveCell()
{
    TVxHexcavator &ed = *VxHexcavator1;
    const int32_t s = ed.SelectionLength();
    Actions.acCut->setEnabled(!ed.ReadOnlyMode() && s > 0);
    Actions.acCopy->setEnabled(s > 0);
    Actions.acCopyText->setEnabled(Actions.acCopy->isEnabled());
    Actions.acDelete->setEnabled(ed.CanDelete());
    if (s != 0)
        FPanels[1]->setText(QStringLiteral("選択 %1 (0x%2) バイト").arg(Grouped(s)).arg(QString::asprintf("%02X", unsigned(s))));
    else
        FPanels[1]->setText(QStringLiteral("位置 %1 (0x%2)")
                                .arg(Grouped(ed.GetCaretOffset()))
                                .arg(QString::asprintf("%02X", unsigned(ed.GetCaretOffset()))));
}

void TfrmMain::VxHexcavator1ChangeEditMode()
{
    TVxHexcavator &ed = *VxHexcavator1;
    FPanels[4]->setText(ed.ReadOnlyMode() ? QStringLiteral("書禁")
                                          : ed.InsertMode() ? QStringLiteral("挿入") : QStringLiteral("上書"));
    for (QAction *a : {Actions.acInputStr, Actions.acInsertFile, Actions.acSave, Actions.acReplace})
        a->setEnabled(!ed.ReadOnlyMode());
    Actions.acReadOnly->setChecked(ed.ReadOnlyMode());
    UpdatePasteState();
    VxHexcavator1MoveCell();
}

void TfrmMain::UpdatePasteState()
{
    Actions.acPaste->setEnabled(!VxHexcavator1->ReadOnlyMode() &&
                                (TVxTransfer::ClipboardHasBinary() || TVxTransfer::ClipboardHasText()));
}

void TfrmMain::VxHexcavator1ChangeFileSize()
{
    FPanels[2]->setText(QStringLiteral("ファイル %1 バイト").arg(Grouped(VxHexcavator1->FileSize())));
}

void TfrmMain::VxHexcavator1ChangeUndo(int32_t undoCount)
{
    Actions.acUndo->setEnabled(undoCount > 0);
    Actions.acRedo->setEnabled(VxHexcavator1->RedoCount() > 0);
    UpdateTitle();
    VxHexcavator1MoveCell();
}

void TfrmMain::ChangeCharCode(QAction *sender)
{
    sender->setChecked(true);
    const TMainActions::TCharCodeCommand *c = TMainActions::CharCodeOfTag(TMainActions::Tag(sender));
    if (!c)
        return;
    VxHexcavator1->SetCharCode(c->Code);
    FPanels[3]->setText(QString::fromLatin1(c->Name));
    FValuesPanel->Refresh();
}

void TfrmMain::ChangeColumnBytes(QAction *sender)
{
    sender->setChecked(true);
    switch (TMainActions::Tag(sender)) {
    case 2: VxHexcavator1->SetColumnBytes(cb2byte); break;
    case 4: VxHexcavator1->SetColumnBytes(cb4byte); break;
    case 8: VxHexcavator1->SetColumnBytes(cb8byte); break;
    case 16: VxHexcavator1->SetColumnBytes(cb16byte); break;
    default: VxHexcavator1->SetColumnBytes(cb1byte); break;
    }
}

void TfrmMain::ConnectCommands()
{
    TMainActions &a = Actions;
    TVxHexcavator *ed = VxHexcavator1;
    auto on = [this](QAction *action, auto fn) { connect(action, &QAction::triggered, this, fn); };

    // Every command that may move a large block runs in the busy state, so that its
    // progress window can appear.
    on(a.acUndo, [this, ed] { Run([ed] { ed->Undo(); }, true, QStringLiteral("元に戻しています")); });
    on(a.acRedo, [this, ed] { Run([ed] { ed->Redo(); }, true, QStringLiteral("やり直しています")); });
    on(a.acCut, [this] { Run([this] { FTransfer->CutToClipboard(); }, true, QStringLiteral("切り取っています")); });
    on(a.acCopy, [this] { Run([this] { FTransfer->CopyToClipboard(); }, true); });
    on(a.acCopyText, [this] { Run([this] { FTransfer->CopyAsText(); }); });
    on(a.acPaste, [this] { Run([this] { FTransfer->PasteCommand(); }, true, QStringLiteral("貼り付けています")); });
    on(a.acDelete, [this, ed] { Run([ed] { ed->DeleteAtCaret(); }, true, QStringLiteral("削除しています")); });
    on(a.acInputStr, [this] {
        QString text;
        if (TUiServices::Instance().AskString(this, QStringLiteral("文字列入力"), QStringLiteral("文字列を入力してください。"), text))
            Run([this, text] { FTransfer->InsertText(TVxTransfer::ToCodePage(text)); }, true,
                QStringLiteral("挿入しています"));
    });
    on(a.acSelectAll, [ed] {
        if (ed->FileSize() > 0)
            ed->SetSelection(0, ed->FileSize() - 1);
    });
    on(a.acReadOnly, [this, ed] {
        ed->SetReadOnlyMode(Actions.acReadOnly->isChecked());
        UpdatePasteState();
    });
    on(a.acClearClipBoard, [] { QGuiApplication::clipboard()->clear(); });

    on(a.acViewToolBar, [this] { FToolBar->setVisible(Actions.acViewToolBar->isChecked()); });
    on(a.acViewStatusBar, [this] { statusBar()->setVisible(Actions.acViewStatusBar->isChecked()); });
    on(a.acViewAddressHeader, [this, ed] { ed->SetHideOffsetHeader(!Actions.acViewAddressHeader->isChecked()); });
    on(a.acViewByteView, [this, ed] { ed->SetHideByteView(!Actions.acViewByteView->isChecked()); });
    on(a.acViewUnderLine, [this, ed] { ed->SetViewUnderLine(Actions.acViewUnderLine->isChecked()); });
    for (QAction *c : a.CharCodeGroup->actions())
        on(c, [this, c] { ChangeCharCode(c); });
    for (QAction *c : a.ColumnBytesGroup->actions())
        on(c, [this, c] { ChangeColumnBytes(c); });

    on(a.acVersion, [this] { TfrmVersion::ShowAbout(this); });
    on(a.acHomepage, [] { THelpFile::Open(); });
    FFiles->Connect();
    FSearches->Connect();
    FInstances->Connect();
    FOptions->Connect();
    FPrints->Connect();
}

void TfrmMain::closeEvent(QCloseEvent *e)
{
    if (FFiles->FormCloseQuery())
        e->accept();
    else
        e->ignore();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *e)
{
    e->acceptProposedAction();
    DropFiles(e->mimeData()->urls());
}

void TfrmMain::DropFiles(const QList<QUrl> &urls)
{
    for (const QString &path : TDroppedFiles::Resolve(urls))
        FFiles->OpenFile(path);
}
