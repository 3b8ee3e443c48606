#include "TCharTableLoader.h"

#include "TVxCharTable.h"

namespace {
QString Problem(const TVxCharTableError &e)
{
    using K = TVxCharTableError::Kind;
    switch (e.Problem) {
    case K::Unreadable: return QStringLiteral("文字テーブルを読み込めません。");
    case K::NoEntries: return QStringLiteral("文字テーブルに項目がありません。");
    case K::NotAnEntry: return QStringLiteral("「16進数=文字」の形の行ではありません。");
    case K::BadHex: return QStringLiteral("バイト列が 1～8 バイトの16進数ではありません。");
    case K::EmptyText: return QStringLiteral("バイト列に対応する文字がありません。");
    case K::Duplicate: return QStringLiteral("同じバイト列が前の行にもあります。");
    case K::TooMany: return QStringLiteral("項目が多すぎます（65536 個まで）。");
    }
    return QString::fromLocal8Bit(e.what());
}
} // namespace

std::shared_ptr<const TVxCharTable> TCharTableLoader::Load(const QString &path, QString &error)
{
    try {
        return TVxCharTable::Load(path.toStdString());
    } catch (const TVxCharTableError &e) {
        error = path + QStringLiteral("\r\n");
        if (e.Line > 0)
            error += QString::number(e.Line) + QStringLiteral(" 行目: ");
        error += Problem(e);
    } catch (const std::exception &e) {
        error = path + QStringLiteral("\r\n") + QString::fromLocal8Bit(e.what());
    }
    return nullptr;
}
