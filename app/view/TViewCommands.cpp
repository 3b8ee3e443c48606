#include "TViewCommands.h"

#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TSettingsModel.h"
#include "TSettingsQt.h"
#include "TBusyState.h"
#include "TCharTableLoader.h"
#include "TUiServices.h"
#include "TVxCharTable.h"
#include "TVxCodeDetect.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <algorithm>
#include <iterator>
#include <optional>

TViewCommands::TViewCommands(const TFeatureContext &context) : FContext(context)
{
    CreateCommands();
    const QList<QAction *> codes = FCharCodeGroup->actions();
    const QList<QAction *> columns = FColumnBytesGroup->actions();
    // The submenus go into the View menu as commands of their own.
    FCharCodeMenu = new QMenu(QStringLiteral("文字コード(&M)"), &context.Window);
    FCharCodeMenu->addActions(codes);
    FCharCodeMenu->insertSeparator(acCharTable);
    FCharCodeMenu->addSeparator();
    FCharCodeMenu->addAction(acAutoDetectCharCode);
    FColumnMenu = new QMenu(QStringLiteral("カラムのバイト数(&C)"), &context.Window);
    FColumnMenu->addActions(columns);
    context.Places.Add(QStringLiteral("view.charcode"), {FCharCodeMenu->menuAction()});
    context.Places.Add(QStringLiteral("view.grid"), {acViewAddressHeader, acViewByteView, acViewUnderLine});
    context.Places.Add(QStringLiteral("view.columns"), {FColumnMenu->menuAction()});
    context.Places.Add(QStringLiteral("view.zoom"), {acZoomIn, acZoomOut, acZoomReset});
    // Shortcuts of the grouped commands work wherever the focus is in the window.
    context.Places.Add(QStringLiteral("window.shortcuts"), codes + columns);

    TVxHexcavator *ed = &context.Editor;
    QObject *o = &context.Window;
    auto on = [o](QAction *action, auto fn) { QObject::connect(action, &QAction::triggered, o, fn); };
    on(acViewAddressHeader, [this, ed] { ed->SetHideOffsetHeader(!acViewAddressHeader->isChecked()); });
    on(acViewByteView, [this, ed] { ed->SetHideByteView(!acViewByteView->isChecked()); });
    on(acViewUnderLine, [this, ed] { ed->SetViewUnderLine(acViewUnderLine->isChecked()); });
    for (QAction *c : codes)
        if (c != acCharTable)
            on(c, [this, c] { ChangeCharCode(c); });
    on(acCharTable, [this] { acCharTableExecute(); });
    on(acZoomIn, [this] { Zoom(1); });
    on(acZoomOut, [this] { Zoom(-1); });
    on(acZoomReset, [this] { Zoom(0); });
    FListen.Listen(ed->OnZoom, [this](int notches) { Zoom(notches); });
    FListen.Listen(ed->OnFileOpen, [this] { DetectCharCode(); });
    for (QAction *c : columns)
        on(c, [this, c] { ChangeColumnBytes(c); });

    context.Settings.AddSection([this](const TSettings &s, bool) { Apply(s); }, [this](TSettings &s) { Collect(s); });
}

TViewCommands::~TViewCommands() = default;

void TViewCommands::CreateCommands()
{
    using K = QKeySequence;
    QObject *o = &FContext.Window;
    FCharCodeGroup = new QActionGroup(o);
    acAsciiByte = TCommand::Checkable(TCommand::Make(o, "acAsciiByte", QStringLiteral("&ASCII"), K(), QStringLiteral("ASCII"), QString(), 0), true);
    acSjisByte = TCommand::Checkable(TCommand::Make(o, "acSjisByte", QStringLiteral("シフトJIS(&S)"), K(), QStringLiteral("シフトJIS"), QString(), 1), false);
    acUnicodeByte = TCommand::Checkable(TCommand::Make(o, "acUnicodeByte", QStringLiteral("&UNICODE"), K(), QStringLiteral("UNICODE"), QString(), 2), false);
    acJisByte = TCommand::Checkable(TCommand::Make(o, "acJisByte", QStringLiteral("&JIS"), K(), QString(), QString(), 3), false);
    acEucByte = TCommand::Checkable(TCommand::Make(o, "acEucByte", QStringLiteral("&EUC"), K(), QString(), QString(), 4), false);
    acUtf8Byte = TCommand::Checkable(TCommand::Make(o, "acUtf8Byte", QStringLiteral("UTF-&8"), K(), QStringLiteral("UTF-8"), QString(), 5), false);
    acCharTable = TCommand::Checkable(TCommand::Make(o, "acCharTable", QStringLiteral("文字テーブル(&T)..."), K(), QStringLiteral("文字テーブル"), QString(), 6), false);
    for (QAction *a : {acAsciiByte, acSjisByte, acUnicodeByte, acUtf8Byte, acJisByte, acEucByte, acCharTable})
        FCharCodeGroup->addAction(a);
    acAutoDetectCharCode = TCommand::Checkable(TCommand::Make(o, "acAutoDetectCharCode", QStringLiteral("文字コードを自動判別する(&D)"), K(), QString()), false);

    acZoomIn = TCommand::Make(o, "acZoomIn", QStringLiteral("拡大(&I)"), K(Qt::CTRL | Qt::Key_Plus), QString());
    acZoomIn->setShortcuts({K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Semicolon)});
    acZoomOut = TCommand::Make(o, "acZoomOut", QStringLiteral("縮小(&O)"), K(Qt::CTRL | Qt::Key_Minus), QString());
    acZoomReset = TCommand::Make(o, "acZoomReset", QStringLiteral("標準の大きさ(&Z)"), K(Qt::CTRL | Qt::Key_0), QString());

    acViewAddressHeader = TCommand::Checkable(TCommand::Make(o, "acViewAddressHeader", QStringLiteral("アドレスヘッダ(&A)"), K(), QStringLiteral("アドレスヘッダ")), true);
    acViewByteView = TCommand::Checkable(TCommand::Make(o, "acViewByteView", QStringLiteral("バイトビュー(&B)"), K(), QStringLiteral("バイトビュー")), true);
    acViewUnderLine = TCommand::Checkable(TCommand::Make(o, "acViewUnderLine", QStringLiteral("カーソル行アンダーライン(&U)"), K(), QString()), false);

    FColumnBytesGroup = new QActionGroup(o);
    accb1byte = TCommand::Checkable(TCommand::Make(o, "accb1byte", QStringLiteral("&1. 1バイト"), K(), QString(), QString(), 1), true);
    accb2byte = TCommand::Checkable(TCommand::Make(o, "accb2byte", QStringLiteral("&2. 2バイト"), K(), QString(), QString(), 2), false);
    accb4byte = TCommand::Checkable(TCommand::Make(o, "accb4byte", QStringLiteral("&3. 4バイト"), K(), QString(), QString(), 4), false);
    accb8byte = TCommand::Checkable(TCommand::Make(o, "accb8byte", QStringLiteral("&4. 8バイト"), K(), QString(), QString(), 8), false);
    accb16byte = TCommand::Checkable(TCommand::Make(o, "accb16byte", QStringLiteral("&5. 16バイト"), K(), QString(), QString(), 16), false);
    for (QAction *a : {accb1byte, accb2byte, accb4byte, accb8byte, accb16byte})
        FColumnBytesGroup->addAction(a);
}

const TViewCommands::TCharCodeCommand *TViewCommands::CharCodeOfTag(int tag)
{
    static const TCharCodeCommand kByTag[] = {{ccASCII, "ASCII"}, {ccSJIS, "SJIS"}, {ccUNICODE, "UNICODE"},
                                              {ccJIS, "JIS"},     {ccEUC, "EUC"},   {ccUTF8, "UTF-8"},
                                              {ccTable, "TABLE"}};
    return tag >= 0 && tag < int(std::size(kByTag)) ? &kByTag[tag] : nullptr;
}

QAction *TViewCommands::CharCodeAction(const std::string &name) const
{
    for (QAction *a : {acAsciiByte, acSjisByte, acUnicodeByte, acJisByte, acEucByte, acUtf8Byte, acCharTable}) {
        const TCharCodeCommand *c = CharCodeOfTag(TCommand::Tag(a));
        if (c && name == c->Name)
            return a;
    }
    return nullptr;
}

QAction *TViewCommands::CharCodeCommand(const TSettings &s) const
{
    if (s.CharCode == 1)
        return acSjisByte;
    // The name counts for the codes that CharCode cannot tell.
    QAction *named = CharCodeAction(s.CharCodeName);
    return named ? named : acAsciiByte;
}

void TViewCommands::ChangeCharCode(QAction *sender, bool byUser)
{
    const TCharCodeCommand *c = CharCodeOfTag(TCommand::Tag(sender));
    if (!c)
        return;
    if (c->Code == ccTable) {
        // Only through a table that loads; the command itself asks for one.
        if (!UseCharTable(FTablePath))
            return;
    } else {
        FContext.Editor.SetCharCode(c->Code);
    }
    sender->setChecked(true);
    if (byUser)
        FUserTag = TCommand::Tag(sender);
    OnChangeCharCode(QString::fromLatin1(c->Name));
}

QAction *TViewCommands::UserCodeAction() const
{
    for (QAction *a : FCharCodeGroup->actions())
        if (TCommand::Tag(a) == FUserTag)
            return a;
    return acAsciiByte;
}

void TViewCommands::acCharTableExecute()
{
    const QString chosen = TUiServices::Instance().AskOpenFileName(
        &FContext.Window, FTablePath, QStringLiteral("文字テーブル (*.tbl);;全てのファイル(*)"));
    if (chosen.isEmpty()) {
        // Nothing chosen: the group already checked this command; the code in use stays.
        for (QAction *a : FCharCodeGroup->actions())
            if (CharCodeOfTag(TCommand::Tag(a)) && CharCodeOfTag(TCommand::Tag(a))->Code == FContext.Editor.CharCode())
                a->setChecked(true);
        return;
    }
    FTablePath = chosen;
    ChangeCharCode(acCharTable);
}

bool TViewCommands::UseCharTable(const QString &path)
{
    QString error;
    std::shared_ptr<const TVxCharTable> table =
        path.isEmpty() ? nullptr : TCharTableLoader::Load(path, error);
    if (table) {
        FContext.Editor.SetCharTable(std::move(table));
        return true;
    }
    if (!path.isEmpty())
        FContext.Busy.Message(error + QStringLiteral("\r\n文字コードを ASCII にします。"), mbIconStop);
    ChangeCharCode(acAsciiByte);
    return false;
}

void TViewCommands::Zoom(int steps)
{
    // The steps of the font dialog's usual sizes; a size between them moves to the next.
    static const int kSizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 28, 32, 36, 48, 72};
    QFont font = FContext.Editor.font();
    const int now = font.pointSize() > 0 ? font.pointSize() : 14;
    int size = steps == 0 && FBaseFontSize > 0 ? FBaseFontSize : now;
    for (int k = 0; k < steps; ++k) {
        const int *next = std::upper_bound(std::begin(kSizes), std::end(kSizes), size);
        size = next == std::end(kSizes) ? size : *next;
    }
    for (int k = 0; k > steps; --k) {
        const int *prev = std::lower_bound(std::begin(kSizes), std::end(kSizes), size);
        size = prev == std::begin(kSizes) ? size : *(prev - 1);
    }
    if (size == now)
        return;
    font.setPointSize(size);
    FContext.Editor.setFont(font);
}

void TViewCommands::DetectCharCode()
{
    if (!acAutoDetectCharCode->isChecked())
        return;
    TVxHexcavator &ed = FContext.Editor;
    const std::vector<uint8_t> head = ed.ReadBytes(0, std::min<int32_t>(ed.FileSize(), 64 * 1024));
    const std::optional<TVxCharCode> code = TVxCodeDetect::Detect(head.data(), head.size());
    QAction *target = UserCodeAction();
    if (code)
        for (QAction *a : FCharCodeGroup->actions())
            if (CharCodeOfTag(TCommand::Tag(a)) && CharCodeOfTag(TCommand::Tag(a))->Code == *code)
                target = a;
    if (target != FCharCodeGroup->checkedAction() || FContext.Editor.CharCode() != CharCodeOfTag(TCommand::Tag(target))->Code)
        ChangeCharCode(target, false);
}

void TViewCommands::ChangeColumnBytes(QAction *sender)
{
    sender->setChecked(true);
    switch (TCommand::Tag(sender)) {
    case 2: FContext.Editor.SetColumnBytes(cb2byte); break;
    case 4: FContext.Editor.SetColumnBytes(cb4byte); break;
    case 8: FContext.Editor.SetColumnBytes(cb8byte); break;
    case 16: FContext.Editor.SetColumnBytes(cb16byte); break;
    default: FContext.Editor.SetColumnBytes(cb1byte); break;
    }
}

void TViewCommands::Apply(const TSettings &s)
{
    TVxHexcavator &ed = FContext.Editor;
    using Q = TSettingsQt;
    acViewAddressHeader->setChecked(s.ViewAddressHeader);
    acViewByteView->setChecked(s.ViewByteView);
    acViewUnderLine->setChecked(s.ViewUnderLine);
    ed.setFont(Q::ToQFont(s.Font));
    FBaseFontSize = ed.font().pointSize();
    ed.SetViewStyle(Q::ToViewStyle(s, ed.ViewStyle()));
    ed.SetDoubleBuffered(s.DoubleBuffered);
    ed.SaveBackup = s.SaveBackup;
    ed.SaveBackupCount = s.SaveBackupCount;
    switch (s.ColumnBytes) {
    case 2: ChangeColumnBytes(accb2byte); break;
    case 4: ChangeColumnBytes(accb4byte); break;
    case 8: ChangeColumnBytes(accb8byte); break;
    case 16: ChangeColumnBytes(accb16byte); break;
    default: ChangeColumnBytes(accb1byte); break;
    }
    FTablePath = QString::fromStdString(s.CharTable);
    acAutoDetectCharCode->setChecked(s.AutoDetectCharCode);
    ChangeCharCode(CharCodeCommand(s));
}

void TViewCommands::Collect(TSettings &s) const
{
    const TVxHexcavator &ed = FContext.Editor;
    using Q = TSettingsQt;
    const int32_t charset = s.Font.Charset; // Qt fonts have none: the settings keep it
    s.Font = Q::FromQFont(ed.font());
    s.Font.Charset = charset;
    Q::FromViewStyle(ed.ViewStyle(), s);
    s.DoubleBuffered = ed.DoubleBuffered();
    s.SaveBackup = ed.SaveBackup;
    s.SaveBackupCount = ed.SaveBackupCount;
    static const int kGroup[] = {1, 2, 4, 8, 16};
    s.ColumnBytes = kGroup[static_cast<int>(ed.ColumnBytes())];
    // The user's choice, not a code guessed for the document on screen.
    const TCharCodeCommand *chosen = CharCodeOfTag(FUserTag);
    const TVxCharCode code = chosen ? chosen->Code : ed.CharCode();
    s.CharCode = code == ccSJIS ? 1 : 0;
    s.CharCodeName = chosen ? chosen->Name : "ASCII";
    s.CharTable = FTablePath.toStdString();
    s.AutoDetectCharCode = acAutoDetectCharCode->isChecked();
}
