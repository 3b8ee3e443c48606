#include "TCopyAsCommands.h"

#include "TBusyState.h"
#include "TCommand.h"
#include "TCommandPlaces.h"
#include "TVxExporter.h"
#include "TVxHexcavator.h"
#include "TVxMessageBox.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>

#include <string>

TCopyAsCommands::TCopyAsCommands(const TFeatureContext &context) : FContext(context)
{
    QObject *o = &FContext.Window;
    mnuCopyAs = new QMenu(QStringLiteral("形式を指定してコピー(&Y)"), &FContext.Window);
    acCopyAsCArray = TCommand::Make(o, "acCopyAsCArray", QStringLiteral("C言語の配列(&C)"), QKeySequence(),
                                    QStringLiteral("C言語の配列としてコピー"));
    acCopyAsHexString = TCommand::Make(o, "acCopyAsHexString", QStringLiteral("16進文字列(&H)"), QKeySequence(),
                                       QStringLiteral("16進文字列としてコピー"));
    acCopyAsBase64 = TCommand::Make(o, "acCopyAsBase64", QStringLiteral("Base64(&B)"), QKeySequence(),
                                    QStringLiteral("Base64 でコピー"));
    acCopyAsPython = TCommand::Make(o, "acCopyAsPython", QStringLiteral("Pythonのバイト列(&P)"), QKeySequence(),
                                    QStringLiteral("Python のバイト列としてコピー"));
    mnuCopyAs->addActions({acCopyAsCArray, acCopyAsHexString, acCopyAsBase64, acCopyAsPython});
    FContext.Places.Add(QStringLiteral("edit.copyas"), {mnuCopyAs->menuAction()});

    using TKind = TVxTextEncoder::TKind;
    const std::pair<QAction *, TKind> commands[] = {{acCopyAsCArray, TKind::CArray},
                                                    {acCopyAsHexString, TKind::HexString},
                                                    {acCopyAsBase64, TKind::Base64},
                                                    {acCopyAsPython, TKind::Python}};
    for (const auto &c : commands)
        QObject::connect(c.first, &QAction::triggered, o, [this, kind = c.second] { CopyAs(kind); });

    FListen.Listen(FContext.Editor.OnMoveCell, [this] { UpdateCommands(); });
    FListen.Listen(FContext.Editor.OnChangeFileSize, [this] { UpdateCommands(); });
    UpdateCommands();
}

void TCopyAsCommands::UpdateCommands()
{
    const bool can = FContext.Editor.SelectionLength() > 0;
    for (QAction *a : mnuCopyAs->actions())
        a->setEnabled(can);
}

bool TCopyAsCommands::CopyAs(TVxTextEncoder::TKind kind)
{
    TVxHexcavator &ed = FContext.Editor;
    int32_t start = -1, end = -1;
    ed.GetSelectionRange(start, end);
    if (ed.SelectionLength() <= 0 || start < 0 || end < start)
        return false;
    const int32_t count = end - start + 1;
    if (count > kAskAbove &&
        FContext.Busy.Message(QStringLiteral("選択範囲は %1 バイトあります。文字列にすると大きくなり、クリップボードを使う"
                                             "プログラムが長い間応答しなくなることがあります。コピーしますか？")
                                  .arg(count),
                              mbYesNo | mbIconQuestion) != idYes)
        return false;
    std::string text;
    if (!FContext.Busy.Run(
            [&] {
                TVxTextEncoder encoder(kind, count);
                text = TVxExporter::Encode(ed, start, count, encoder, ed.Progress());
            },
            true, QStringLiteral("コピーしています")))
        return false;
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}
