#pragma once
// Texts the user types or reads, as bytes of the system code page CP932 (Shift-JIS), the
// code in which typed strings, pasted text and search texts become bytes.
//
// Who calls: the clipboard transfer, the find and replace dialogs, the search commands and
// the settings of the search text.

#include <QByteArray>
#include <QString>
#include <string>

class TCodePage {
public:
    static QByteArray ToCodePage(const QString &text);
    static QString FromCodePage(const QByteArray &bytes);
    static std::string ToBytes(const QString &text) { return ToCodePage(text).toStdString(); }
    static QString FromBytes(const std::string &bytes) { return FromCodePage(QByteArray::fromStdString(bytes)); }
};
