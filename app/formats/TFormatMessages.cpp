#include "TFormatMessages.h"

#include "TVxFormatError.h"

QString TFormatMessages::TextOf(const TVxFormatError &e)
{
    const QString line = QString::number(e.Line());
    switch (e.Kind()) {
    case TVxFormatErrorKind::BadCharacter:
        return QStringLiteral("%1 行目: レコードに正しくない文字があります（16進数でない文字、または桁の数が奇数）。").arg(line);
    case TVxFormatErrorKind::BadLength:
        return QStringLiteral("%1 行目: レコードの長さが正しくありません。").arg(line);
    case TVxFormatErrorKind::BadChecksum:
        return QStringLiteral("%1 行目: チェックサムが一致しません。").arg(line);
    case TVxFormatErrorKind::BadType:
        return QStringLiteral("%1 行目: レコードの種類が正しくありません。").arg(line);
    case TVxFormatErrorKind::BadAddress:
        return QStringLiteral("%1 行目: アドレスが正しくありません。").arg(line);
    case TVxFormatErrorKind::BadCount:
        return QStringLiteral("%1 行目: レコード数がそれまでのデータレコードの数と一致しません。").arg(line);
    case TVxFormatErrorKind::Overlap:
        return QStringLiteral("%1 行目: 前のレコードとアドレスが重なっています。").arg(line);
    case TVxFormatErrorKind::TooLarge:
        return QStringLiteral("%1 行目: 最小のアドレスから最大のアドレスまでが 2147483647 バイトを超えます。").arg(line);
    case TVxFormatErrorKind::MissingEnd:
        return QStringLiteral("%1 行目: 終了レコードがないまま、ファイルが終わっています。").arg(line);
    case TVxFormatErrorKind::NoData:
        return QStringLiteral("データレコードがありません。");
    case TVxFormatErrorKind::AddressTooHigh:
        return QStringLiteral("開始アドレスから範囲の最後までが、アドレスの上限 FFFFFFFF を超えます。");
    }
    return QString::fromStdString(e.what());
}
