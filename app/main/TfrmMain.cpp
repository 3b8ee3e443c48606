#include "TfrmMain.h"

#include "TAppUtils.h"
#include "TByteValuesPanel.h"
#include "TCommand.h"
#include "TCommandLineFiles.h"
#include "TDroppedFiles.h"
#include "TEditCommands.h"
#include "TEngineMessages.h"
#include "TEngineQuestions.h"
#include "TFeatureContext.h"
#include "TFileCommands.h"
#include "THelpCommands.h"
#include "TInstanceCommands.h"
#include "TOptionCommands.h"
#include "TPrintCommands.h"
#include "TSearchCommands.h"
#include "TByteOpCommands.h"
#include "TChecksumCommands.h"
#include "TBookmarkCommands.h"
#include "TCopyAsCommands.h"
#include "TExportCommands.h"
#include "TImportCommands.h"
#include "TCompareCommands.h"
#include "TStatusPanel.h"
#include "TViewCommands.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent), FBusy(this), FSettings(FBusy)
{
    setObjectName(QStringLiteral("frmMain"));
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    VxHexcavator1 = new TVxHexcavator(this);
    VxHexcavator1->setObjectName(QStringLiteral("VxHexcavator1"));
    setCentralWidget(VxHexcavator1);
    VxHexcavator1->SetProgress(&FBusy.Progress());
    VxHexcavator1->RunBlockEdit = [this](const std::function<void()> &edit) {
        TBusy busy(FBusy, QStringLiteral("編集しています"));
        edit();
    };
    // The document's questions and notices, and errors while typing, in the window's boxes.
    VxHexcavator1->SetQuestions(
        new TEngineQuestions(this, [this](const QString &text, unsigned flags) { return FBusy.Message(text, flags); }));
    VxHexcavator1->SetUntitledName(TEngineMessages::Untitled().toStdString());
    VxHexcavator1->OnError = [this](const std::exception &e) { FBusy.Message(TEngineMessages::TextOf(e), mbOK | mbIconStop); };

    // The window's own settings come first: its placement is applied before anything else.
    FSettings.AddSection([this](const TSettings &s, bool sole) { ApplyPlacement(s, sole); }, [this](TSettings &s) {
        CollectPlacement(s);
    });
    CreateFeatures();
    addActions(FPlaces.All()); // shortcuts work wherever the focus is in this window
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    // The size without a saved position: the whole grid in the editor's font, and every
    // status panel at its full width.
    resize(std::max(VxHexcavator1->WholeGridWidth(), statusBar()->sizeHint().width()), 480);

    Wire();

    setAcceptDrops(true);
    UpdateTitle();
    VxHexcavator1->SetCaretColor(QColor(0x80, 0x80, 0x80));
    UpdateEditModePanel();
    UpdateSizePanel();
    VxHexcavator1->setFocus();
    // Without a temporary folder the window still opens, empty, and says why once it shows.
    if (!VxHexcavator1->WorkCopyError().empty()) {
        const QString why = TEngineMessages::NoWorkCopy(VxHexcavator1->WorkCopyError());
        QTimer::singleShot(0, this, [this, why] { FBusy.Message(why, 0x10); });
    }
    FSettings.Load(FInstances->EditorInstanceCount() == 1);
}

TfrmMain::~TfrmMain()
{
    // An instance that closes while others run leaves the file to the last one.
    if (FInstances->LeaveAsLast())
        FSettings.Save();
    // The members (features, then the busy state) go before the editor, a child widget, in
    // the reverse order of their making; the editor lets go of what it holds of them now.
    VxHexcavator1->SetQuestions(nullptr);
    VxHexcavator1->OnError = nullptr;
    VxHexcavator1->RunBlockEdit = nullptr;
    VxHexcavator1->SetProgress(nullptr);
}

void TfrmMain::CreateFeatures()
{
    const TFeatureContext context{*VxHexcavator1, FBusy, *this, FPlaces, FSettings};
    FFiles = std::make_unique<TFileCommands>(context);
    FEdit = std::make_unique<TEditCommands>(context);
    FView = std::make_unique<TViewCommands>(context);
    CreateWindowCommands();
    FValuesPanel = std::make_unique<TByteValuesPanel>(context);
    FSearches = std::make_unique<TSearchCommands>(context);
    FCompare = std::make_unique<TCompareCommands>(context);
    FBookmarks = std::make_unique<TBookmarkCommands>(context);
    FChecksum = std::make_unique<TChecksumCommands>(context);
    FByteOps = std::make_unique<TByteOpCommands>(context);
    FImports = std::make_unique<TImportCommands>(context);
    FExports = std::make_unique<TExportCommands>(context);
    FCopyAs = std::make_unique<TCopyAsCommands>(context);
    FInstances = std::make_unique<TInstanceCommands>(context, FSearches->State());
    FPrints = std::make_unique<TPrintCommands>(context);
    FOptions = std::make_unique<TOptionCommands>(context);
    FHelp = std::make_unique<THelpCommands>(context);

}

void TfrmMain::Wire()
{
    TVxHexcavator &ed = *VxHexcavator1;
    FListen.Listen(ed.OnMoveCell, [this] { UpdatePositionPanel(); });
    FListen.Listen(ed.OnChangeEditMode, [this] { UpdateEditModePanel(); });
    FListen.Listen(ed.OnChangeReadOnlyMode, [this] { UpdateEditModePanel(); });
    FListen.Listen(ed.OnChangeFileSize, [this] { UpdateSizePanel(); });
    FListen.Listen(ed.OnChangeUndo, [this](int32_t) {
        UpdateTitle();
        UpdatePositionPanel();
    });
    FListen.Listen(ed.OnFileOpen, [this] { UpdateTitle(); });
    FListen.Listen(FFiles->OnSaved, [this](bool) { UpdateTitle(); });
    FListen.Listen(FView->OnChangeCharCode, [this](const QString &name) {
        FPanels[3]->setText(name);
        FValuesPanel->Refresh();
    });
}

void TfrmMain::CreateWindowCommands()
{
    acViewToolBar = TCommand::Checkable(
        TCommand::Make(this, "acViewToolBar", QStringLiteral("ツールバー(&T)"), QKeySequence(), QStringLiteral("ツールバー")), true);
    acViewStatusBar = TCommand::Checkable(
        TCommand::Make(this, "acViewStatusBar", QStringLiteral("ステータスバー(&S)"), QKeySequence(), QStringLiteral("ステータスバー")),
        true);
    FPlaces.Add(QStringLiteral("view.bars"), {acViewToolBar, acViewStatusBar});
    connect(acViewToolBar, &QAction::triggered, this, [this] { FToolBar->setVisible(acViewToolBar->isChecked()); });
    connect(acViewStatusBar, &QAction::triggered, this, [this] { statusBar()->setVisible(acViewStatusBar->isChecked()); });
    // Applied after the editor's look, before the byte values panel docks.
    FSettings.AddSection(
        [this](const TSettings &s, bool) {
            acViewToolBar->setChecked(s.ViewToolBar);
            acViewStatusBar->setChecked(s.ViewStatusBar);
            FToolBar->setVisible(s.ViewToolBar);
            statusBar()->setVisible(s.ViewStatusBar);
        },
        [this](TSettings &s) {
            s.ViewToolBar = acViewToolBar->isChecked();
            s.ViewStatusBar = acViewStatusBar->isChecked();
        });
}

void TfrmMain::FillMenu(QMenu *menu, const QStringList &places)
{
    // "|" separates groups; a separator only goes between groups that have commands.
    bool separate = false;
    for (const QString &place : places) {
        if (place == QLatin1String("|")) {
            separate = !menu->actions().isEmpty();
            continue;
        }
        const QList<QAction *> actions = FPlaces.At(place);
        if (actions.isEmpty())
            continue;
        if (separate)
            menu->addSeparator();
        separate = false;
        menu->addActions(actions);
    }
}

void TfrmMain::BuildMenus()
{
    auto S = [](std::initializer_list<const char *> names) {
        QStringList l;
        for (const char *n : names)
            l << QString::fromLatin1(n);
        return l;
    };
    FillMenu(menuBar()->addMenu(QStringLiteral("ファイル(&F)")),
             S({"file.open", "|", "file.reload", "file.insert", "|", "file.import", "file.export", "|", "file.print", "file.recent", "file.closeall", "|",
                "file.close"}));
    FillMenu(menuBar()->addMenu(QStringLiteral("編集(&E)")),
             S({"edit.undo", "|", "edit.clipboard", "edit.copyas", "|", "edit.input", "|", "edit.select", "|", "edit.tools"}));
    QMenu *view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    FillMenu(view, S({"view.charcode", "|", "view.bars", "view.panels", "|", "view.grid", "|", "view.columns", "|", "view.zoom"}));
    view->addSeparator();
    view->addAction(QStringLiteral("次のウィンドウ(&N)"));
    FillMenu(menuBar()->addMenu(QStringLiteral("検索(&S)")),
             S({"search.find", "|", "search.again", "|", "search.replace", "|", "search.jump", "|", "search.bookmarks"}));
    FillMenu(menuBar()->addMenu(QStringLiteral("ツール(&T)")), S({"tools.compare", "|", "tools.checksum", "|", "tools.byteops"}));
    FillMenu(menuBar()->addMenu(QStringLiteral("ヘルプ(&H)")), S({"help.about", "|", "help.web"}));

    FEditorMenu = new QMenu(this);
    FillMenu(FEditorMenu, S({"editor.undo", "|", "editor.clipboard", "|", "editor.delete", "|", "editor.input"}));
    VxHexcavator1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(VxHexcavator1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { FEditorMenu->popup(VxHexcavator1->mapToGlobal(pos)); });
}

void TfrmMain::BuildToolBar()
{
    FToolBar = addToolBar(QStringLiteral("ツールバー"));
    FToolBar->setObjectName(QStringLiteral("ToolBar1"));
    FToolBar->setMovable(false);
    FToolBar->setFloatable(false);
    FToolBar->setIconSize(QSize(24, 24));
    FToolBar->toggleViewAction()->setVisible(false);
    bool first = true;
    for (const char *place : {"toolbar.close", "toolbar.file", "toolbar.print", "toolbar.undo", "toolbar.find",
                              "toolbar.clipboard", "toolbar.option", "toolbar.readonly"}) {
        const QList<QAction *> actions = FPlaces.At(QString::fromLatin1(place));
        if (actions.isEmpty())
            continue;
        if (!first)
            FToolBar->addSeparator();
        first = false;
        FToolBar->addActions(actions);
    }
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

void TfrmMain::ApplyPlacement(const TSettings &s, bool soleInstance)
{
    if (!soleInstance)
        return;
    if (s.Position) {
        const auto &r = *s.Position;
        setGeometry(r[0], r[1], r[2] - r[0], r[3] - r[1]);
    } else if (s.MalformedPosition) {
        const QRect area = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
        setGeometry((area.width() - 600) / 2, (area.height() - 430) / 2, 600, 430);
    }
    if (s.ShowCmd == 3)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::CollectPlacement(TSettings &s) const
{
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    s.Position = std::array<int32_t, 4>{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    s.MalformedPosition = false;
    s.ShowCmd = isMaximized() ? 3 : isMinimized() ? 2 : 1;
}

QString TfrmMain::PanelText(int panel) const { return FPanels[panel]->text(); }

QString TfrmMain::Grouped(qint64 n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

void TfrmMain::UpdateTitle()
{
    QString name = QFileInfo(QString::fromStdString(VxHexcavator1->FileName())).fileName();
    if (name.isEmpty())
        name = QStringLiteral("無題");
    if (VxHexcavator1->Modified())
        name += QStringLiteral(" *");
    const QString caption = name + QStringLiteral(" - ") + TAppUtils::ApplicationTitle();
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void TfrmMain::UpdatePositionPanel()
{
    TVxHexcavator &ed = *VxHexcavator1;
    const int32_t s = ed.SelectionLength();
    if (s != 0)
        FPanels[1]->setText(QStringLiteral("選択 %1 (0x%2) バイト").arg(Grouped(s)).arg(QString::asprintf("%02X", unsigned(s))));
    else
        FPanels[1]->setText(QStringLiteral("位置 %1 (0x%2)")
                                .arg(Grouped(ed.GetCaretOffset()))
                                .arg(QString::asprintf("%02X", unsigned(ed.GetCaretOffset()))));
}

void TfrmMain::UpdateEditModePanel()
{
    TVxHexcavator &ed = *VxHexcavator1;
    FPanels[4]->setText(ed.ReadOnlyMode() ? QStringLiteral("書禁")
                                          : ed.InsertMode() ? QStringLiteral("挿入") : QStringLiteral("上書"));
    UpdatePositionPanel();
}

void TfrmMain::UpdateSizePanel()
{
    FPanels[2]->setText(QStringLiteral("ファイル %1 バイト").arg(Grouped(VxHexcavator1->FileSize())));
}

bool TfrmMain::OpenFile(const QString &path) { return FFiles->OpenFile(path); }

void TfrmMain::ShowThenOpen(const QStringList &arguments, const TImportHandoff::THanded &handed)
{
    std::function<void()> first;
    if (!handed.Path.isEmpty())
        first = [this, handed] { FImports->OpenHanded(handed); };
    TCommandLineFiles::ShowThenOpen(*this, *FFiles, arguments, first);
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
