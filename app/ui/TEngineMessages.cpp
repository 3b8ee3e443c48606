#include "TEngineMessages.h"

#include "TVxError.h"

namespace {
QString Local(const std::string &s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
const QString kBreak = QStringLiteral("\r\n");
} // namespace

QString TEngineMessages::TextOf(const std::exception &e)
{
    if (const auto *own = dynamic_cast<const TVxError *>(&e))
        return ErrorText(*own);
    return QString::fromLocal8Bit(e.what());
}

QString TEngineMessages::TextOf(const std::exception_ptr &failure)
{
    if (!failure)
        return QString();
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception &e) {
        return TextOf(e);
    } catch (...) {
        return QString();
    }
}

QString TEngineMessages::ErrorText(const TVxError &e)
{
    const QString path = Local(e.Path());
    switch (e.Kind()) {
    case TVxErrorKind::EditTooLarge:
        return QStringLiteral("ファイルサイズが上限の 2147483647 バイトを超えるため、編集できません。");
    case TVxErrorKind::OpenNotRegular:
        return path + QStringLiteral("\r\n通常のファイルではないため開けません。");
    case TVxErrorKind::OpenTooLarge:
        return path + QStringLiteral("\r\nファイルが大きすぎます。開けるのは 2147483647 バイトまでのファイルです。");
    case TVxErrorKind::SaveNotRegular:
        return path + QStringLiteral("\r\n通常のファイルではないため保存できません。");
    case TVxErrorKind::SaveFailedCopyKept:
        return path + kBreak + Local(e.Reason()) + QStringLiteral("\r\n元の内容は ") + Local(e.Other()) +
               QStringLiteral(" に残っています。");
    case TVxErrorKind::PatchNotRolledBack:
        return path + kBreak + Local(e.Reason()) +
               QStringLiteral("\r\n保存を元に戻せませんでした。次にこのファイルを開くときに元の内容に戻します。");
    case TVxErrorKind::TextNotEncodable: {
        const QString c = QStringLiteral("文字「") + QString::fromStdString(e.Other());
        if (e.Reason() == "table")
            return c + QStringLiteral("」は文字テーブルにありません。");
        return c + QStringLiteral("」は文字コード ") + QString::fromStdString(e.Reason()) + QStringLiteral(" で表せません。");
    }
    case TVxErrorKind::JournalNotApplied:
        return path + QStringLiteral("\r\n前回の保存が中断されたままですが、元の内容に戻せません。\r\n") + Local(e.Reason());
    }
    // A kind added to the engine without words here still says something true.
    return QString::fromLocal8Bit(e.what());
}

QString TEngineMessages::OverwriteChangedFile(const std::string &)
{
    return QStringLiteral("ファイルは開いた後に他のプログラムによって変更されています。上書きしますか？");
}

QString TEngineMessages::SaveWithoutBackup(const std::string &)
{
    return QStringLiteral("バックアップファイルの作成に失敗しました。\r\nバックアップを作成しないで保存を続行しますか？");
}

QString TEngineMessages::JournalRecovered(const std::string &path)
{
    return Local(path) + QStringLiteral("\r\n前回の保存が途中で中断されていたため、保存する前の内容に戻しました。");
}

QString TEngineMessages::WorkCopyFull(const std::string &path, const std::string &why)
{
    return Local(path) + QStringLiteral("\r\n一時フォルダに変更を書き込めないため、編集した場所から離れられません。\r\n") +
           Local(why) + QStringLiteral("\r\n表示、移動、元に戻すはこのまま使えます。空きのあるディスクに名前を付けて保存してください。");
}

QString TEngineMessages::NoWorkCopy(const std::string &why)
{
    return QStringLiteral("作業用ファイルを一時フォルダに作成できません。\r\n") + Local(why);
}

QString TEngineMessages::Untitled() { return QStringLiteral("無題"); }
