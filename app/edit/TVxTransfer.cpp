#include "TVxTransfer.h"

#include "TBusyState.h"
#include "TCodePage.h"
#include "TVxDumpChars.h"
#include "TVxDumpText.h"
#include "TVxHexcavator.h"
#include "TVxTextFilter.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

namespace {
QClipboard *Clipboard() { return QGuiApplication::clipboard(); }
int GroupSize(TVxColumnBytes cb) { return 1 << static_cast<int>(cb); }
} // namespace

TVxTransfer::TVxTransfer(TVxHexcavator &editor, TBusyState &busy) : FEditor(editor), FBusy(busy)
{
    editor.ClipboardCopy = [this] { CopyToClipboard(); };
    // The editor's own keys: in the busy state like the main window's commands, since a
    // cut or paste may move the whole document's tail.
    editor.ClipboardCut = [this] {
        TBusy inBusy(FBusy, QStringLiteral("切り取っています"));
        CutToClipboard();
    };
    editor.ClipboardPaste = [this](int32_t offset) {
        TBusy inBusy(FBusy, QStringLiteral("貼り付けています"));
        PasteAt(offset);
    };
}

TVxTransfer::~TVxTransfer()
{
    FEditor.ClipboardCopy = nullptr;
    FEditor.ClipboardCut = nullptr;
    FEditor.ClipboardPaste = nullptr;
}

bool TVxTransfer::ClipboardHasBinary()
{
    const QMimeData *m = Clipboard()->mimeData();
    return m && m->hasFormat(QString::fromLatin1(kBinaryFormat));
}

bool TVxTransfer::ClipboardHasText()
{
    const QMimeData *m = Clipboard()->mimeData();
    return m && m->hasText();
}

void TVxTransfer::CopyRange(int32_t a, int32_t b)
{
    if (a > b)
        std::swap(a, b);
    const std::vector<uint8_t> bytes = FEditor.ReadBytes(a, b - a + 1);
    auto *mime = new QMimeData;
    mime->setText(TextForm(bytes, a));
    mime->setData(QString::fromLatin1(kBinaryFormat),
                  QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<int>(bytes.size())));
    Clipboard()->setMimeData(mime);
}

void TVxTransfer::CutRange(int32_t a, int32_t b)
{
    if (FEditor.ReadOnlyMode())
        return;
    CopyRange(a, b);
    FEditor.DeleteRange(a, b, true);
}

void TVxTransfer::PasteAt(int32_t offset)
{
    if (FEditor.ReadOnlyMode())
        return;
    const QMimeData *m = Clipboard()->mimeData();
    if (!m || !m->hasFormat(QString::fromLatin1(kBinaryFormat)))
        return;
    const QByteArray data = m->data(QString::fromLatin1(kBinaryFormat));
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.constData());
    const auto n = static_cast<int32_t>(data.size());
    if (n <= 0)
        return;
    if (FEditor.SelExtent() >= 0)
        FEditor.ReplaceRange(FEditor.SelAnchor(), FEditor.SelExtent(), bytes, n, true, true);
    else
        FEditor.InsertBlock(offset, bytes, n, true, true);
}

void TVxTransfer::CopyToClipboard()
{
    int32_t a, b;
    FEditor.GetSelectionRange(a, b);
    if (a >= 0)
        CopyRange(a, b);
}

void TVxTransfer::CutToClipboard()
{
    int32_t a, b;
    FEditor.GetSelectionRange(a, b);
    if (a >= 0)
        CutRange(a, b);
}

void TVxTransfer::PasteFromClipboard() { PasteAt(FEditor.PasteOffset()); }

void TVxTransfer::CopyAsText()
{
    int32_t a, b;
    FEditor.GetSelectionRange(a, b);
    if (a < 0)
        return;
    const int group = GroupSize(FEditor.ColumnBytes());
    const TVxTextCodec &codec = FEditor.Codec();
    if (codec.IsByteCode()) {
        const std::string text = TVxDumpText::DumpRange(FEditor, a, b, group, FEditor.HideOffsetHeader());
        Clipboard()->setText(QString::fromLatin1(text.c_str()));
        return;
    }
    // The other codes add what the column shows, so the text a user sees is copied too.
    QString text;
    for (int32_t line = a / 16; line <= b / 16; ++line) {
        text += QString::fromLatin1(TVxDumpText::GetDumpLine(FEditor, a, b, line, group, FEditor.HideOffsetHeader()));
        text += QLatin1Char(' ');
        text += QString::fromStdU16String(TVxDumpChars::Line(FEditor, codec, a, b, line));
        text += QLatin1Char('\n');
    }
    Clipboard()->setText(text);
}

void TVxTransfer::PasteCommand()
{
    if (ClipboardHasBinary())
        PasteFromClipboard();
    else if (ClipboardHasText())
        InsertText(Clipboard()->text());
}

void TVxTransfer::InsertFromFile(const QString &fileName)
{
    if (FEditor.ReadOnlyMode())
        return;
    int32_t a, b;
    FEditor.GetSelectionRange(a, b);
    if (a >= 0)
        FEditor.DeleteRange(a, b, true);
    FEditor.InsertFile(FEditor.GetCaretOffset(), fileName.toStdString(), true);
    FEditor.RefreshCaret();
}

QString TVxTransfer::TextForm(const std::vector<uint8_t> &bytes, int32_t offset) const
{
    const TVxTextCodec &codec = FEditor.Codec();
    if (codec.IsByteCode()) {
        const std::string shown = TVxTextFilter::FilterText(bytes, FEditor.CharCode(), true);
        // A text cannot carry a zero byte; the binary form keeps everything.
        return TCodePage::FromCodePage(QByteArray(shown.c_str()));
    }
    return QString::fromStdU16String(codec.Decode(bytes.data(), bytes.size(), offset, 0, bytes.size(), true));
}

void TVxTransfer::InsertText(const QString &text)
{
    if (FEditor.ReadOnlyMode() || text.isEmpty())
        return;
    int32_t at = FEditor.GetCaretOffset(), end = 0;
    if (FEditor.SelExtent() >= 0)
        FEditor.GetSelectionRange(at, end);
    InsertText(QByteArray::fromStdString(FEditor.TextBytesAt(text.toStdU16String(), at)));
}

void TVxTransfer::InsertText(const QByteArray &bytes)
{
    const auto n = static_cast<int32_t>(bytes.size());
    if (FEditor.ReadOnlyMode() || n == 0)
        return;
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    if (FEditor.SelExtent() >= 0) {
        FEditor.ReplaceRange(FEditor.SelAnchor(), FEditor.SelExtent(), data, n, true, true);
        return;
    }
    const int32_t at = FEditor.GetCaretOffset();
    if (FEditor.InsertMode())
        FEditor.InsertBlock(at, data, n, true, true);
    else
        FEditor.ReplaceRange(at, at + n - 1, data, n, true, true);
}
