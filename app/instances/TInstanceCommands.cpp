#include "TInstanceCommands.h"

#include "TCodePage.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TInstanceRegistry.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"
#include "TVxSearchRecord.h"
#include "TVxShareMemStream.h"

#include <QMainWindow>
#include "TVxSearchText.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <exception>

namespace {
std::string &BlockName()
{
    static std::string name = TVxSearchRecord::kBlockName;
    return name;
}
// How often a close request looks again whether the dialog that keeps it waiting is gone.
constexpr int kCloseRetryMs = 250;
} // namespace

void TInstanceCommands::SetBlockName(const std::string &name) { BlockName() = name; }

TInstanceCommands::TInstanceCommands(const TFeatureContext &context, TVxSearchText &search)
    : FContext(context), FSearch(search)
{
    QString why;
    try {
        FRegistry = std::make_unique<TInstanceRegistry>();
    } catch (const std::exception &e) {
        why = QString::fromLocal8Bit(e.what());
    }
    try {
        FBlock = std::make_unique<TVxShareMemStream>(BlockName(), TVxSearchRecord::kSize);
    } catch (const std::exception &e) {
        why = QString::fromLocal8Bit(e.what());
    }
    // Working alone is no reason not to start: the user hears why once the window shows.
    TBusyState *busy = &context.Busy;
    if (!why.isEmpty())
        QTimer::singleShot(0, &FContext.Window, [busy, why] { busy->Message(why, mbIconWarning); });
    LoadSharedSearchText(false);
    CreateCommands();
    Connect();
}

TInstanceCommands::~TInstanceCommands()
{
    FContext.Window.removeEventFilter(this);
    FSearch.OnShare = nullptr;
    FContext.Editor.AnnounceFileOpened = nullptr;
}

void TInstanceCommands::CreateCommands()
{
    using K = QKeySequence;
    acCloseAll = TCommand::Make(&FContext.Window, "acCloseAll", QStringLiteral("全て閉じる(&L)"), K(Qt::CTRL | Qt::Key_E), QString());
    acNextInstance = TCommand::Make(&FContext.Window, "acNextInstance", QStringLiteral("前のウィンドウ(&P)"), K(Qt::CTRL | Qt::Key_Tab), QString());
    FContext.Places.Add(QStringLiteral("file.closeall"), {acCloseAll});
    // No visible menu entry: the window holds it, so its shortcut works.
    FContext.Places.Add(QStringLiteral("window.shortcuts"), {acNextInstance});
}

void TInstanceCommands::Connect()
{
    connect(acCloseAll, &QAction::triggered, this, [this] { acCloseAllExecute(); });
    connect(acNextInstance, &QAction::triggered, this, [this] { acNextInstanceExecute(); });
    FSearch.OnShare = [this](const std::string &text, bool ignoreCase, bool silent, bool hex) {
        Share(text, ignoreCase, silent, hex);
    };
    FContext.Window.installEventFilter(this);
    if (!FRegistry)
        return;
    TVxHexcavator *ed = &FContext.Editor;
    ed->AnnounceFileOpened = [this] { FRegistry->PostToEditors(TEditorNotice::FileOpened); };
    connect(FRegistry.get(), &TInstanceRegistry::FileOpened, this, [ed] { ed->OnFileOpenAnyInstance(); });
    connect(FRegistry.get(), &TInstanceRegistry::SearchTextChanged, this, [this] { LoadSharedSearchText(true); });
    connect(FRegistry.get(), &TInstanceRegistry::CloseRequested, this, [this] { CloseWhenIdle(); });
    connect(FRegistry.get(), &TInstanceRegistry::ActivateRequested, this, [this] { Activate(); });
}

int TInstanceCommands::EditorInstanceCount()
{
    // An instance whose own socket has gone and cannot be made again lists only the
    // others: still no more than one means nobody else runs.
    return FRegistry ? std::max(1, FRegistry->EditorInstanceCount()) : 1;
}

bool TInstanceCommands::LeaveAsLast()
{
    if (!FRegistry)
        return true;
    FRegistry->Leave();
    return FRegistry->EditorInstanceCount() == 0;
}

void TInstanceCommands::acCloseAllExecute()
{
    if (FRegistry)
        FRegistry->CloseAllInstances();
    else
        FContext.Window.close();
}

void TInstanceCommands::acNextInstanceExecute()
{
    if (FRegistry)
        FRegistry->ActivatePreviousInstance();
    else
        Activate();
}

void TInstanceCommands::Share(const std::string &text, bool ignoreCase, bool silent, bool hex)
{
    // The record carries its text in CP932, as every instance reads it. A text that CP932
    // cannot carry (typed for a UTF-8 or EUC-JP column) stays in this instance rather than
    // reach the others as something else.
    const std::string bytes = TCodePage::ToBytes(QString::fromStdString(text));
    if (TCodePage::FromBytes(bytes).toStdString() != text)
        return;
    if (FBlock) {
        try {
            TVxSearchRecord::Store(*FBlock, bytes, ignoreCase, hex);
        } catch (const std::exception &) {
            return; // a block too small for a record: nothing the others could read
        }
    }
    if (!silent && FRegistry)
        FRegistry->PostToEditors(TEditorNotice::SearchTextChanged);
}

void TInstanceCommands::LoadSharedSearchText(bool announce)
{
    if (!FBlock)
        return;
    const TVxSearchRecord record = TVxSearchRecord::Load(*FBlock);
    TVxSearchText &state = FSearch;
    // The notice of our own record comes back here too. A text longer than the record holds
    // was cut to fit: the search repeated here stays the one the user typed.
    const std::string own = TCodePage::ToBytes(QString::fromStdString(state.SearchText()));
    if (own.size() > size_t(TVxSearchRecord::kMaxText) && record.IgnoreCase == state.SearchIgnoreCase() &&
        record.Hex == state.SearchHex() && record.Text == own.substr(0, TVxSearchRecord::kMaxText)) {
        const std::string typed = state.SearchText();
        state.ApplyShared(typed, record.IgnoreCase, announce, record.Hex);
        return;
    }
    state.ApplyShared(TCodePage::FromBytes(record.Text).toStdString(), record.IgnoreCase, announce, record.Hex);
}

void TInstanceCommands::CloseWhenIdle()
{
    // A dialog of this window (a question, the options) or a long operation first ends as
    // the user decides; closing under it would pull the window out from beneath them.
    if (QApplication::activeModalWidget() || !FContext.Window.isEnabled()) {
        QTimer::singleShot(kCloseRetryMs, this, [this] { CloseWhenIdle(); });
        return;
    }
    FContext.Window.close();
}

void TInstanceCommands::Activate()
{
    if (FContext.Window.isMinimized())
        FContext.Window.showNormal();
    FContext.Window.raise();
    FContext.Window.activateWindow();
}

bool TInstanceCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &FContext.Window && event->type() == QEvent::WindowActivate && FRegistry)
        FRegistry->NoteActivated();
    return QObject::eventFilter(watched, event);
}
