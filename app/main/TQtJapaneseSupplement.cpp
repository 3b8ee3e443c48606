#include "TQtJapaneseSupplement.h"

#include <cstring>

namespace {
struct TEntry {
    const char *Context, *Source, *Japanese;
};

// The file dialog names types through the icon providers and its model; the print dialog's
// page range radio button is in its output settings form.
const TEntry kEntries[] = {
    {"QAbstractFileIconProvider", "Folder", "フォルダー"},
    {"QAbstractFileIconProvider", "File", "ファイル"},
    {"QAbstractFileIconProvider", "%1 File", "%1 ファイル"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "Unknown", "不明"},
    {"QFileIconProvider", "Folder", "フォルダー"},
    {"QFileIconProvider", "File", "ファイル"},
    {"QFileIconProvider", "%1 File", "%1 ファイル"},
    {"QFileIconProvider", "Drive", "ドライブ"},
    {"QFileIconProvider", "Unknown", "不明"},
    {"QFileSystemModel", "Unknown", "不明"},
    {"QFileSystemModel", "unknown", "不明"},
    {"QPrintSettingsOutput", "Pages", "ページ指定"},
};
} // namespace

QString TQtJapaneseSupplement::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText)
        return QString();
    for (const TEntry &e : kEntries)
        if (std::strcmp(e.Context, context) == 0 && std::strcmp(e.Source, sourceText) == 0)
            return QString::fromUtf8(e.Japanese);
    return QString();
}
