#include "TByteValues.h"

#include "TVxCharDecoder.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {
// The value of `size` bytes in the given order, zero-extended.
uint64_t Unsigned(const uint8_t *bytes, int size, bool big)
{
    uint64_t v = 0;
    for (int i = 0; i < size; ++i)
        v = v << 8 | bytes[big ? i : size - 1 - i];
    return v;
}

int64_t Signed(uint64_t v, int size)
{
    const int shift = 64 - 8 * size;
    return int64_t(v << shift) >> shift;
}

template <typename T>
QString Shortest(T v)
{
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v < 0 ? QStringLiteral("-∞") : QStringLiteral("∞");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, int(r.ptr - buf));
}

QString CodePoint(char32_t c) { return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper(); }
} // namespace

QString TByteValues::FloatText(float v) { return Shortest(v); }
QString TByteValues::FloatText(double v) { return Shortest(v); }

QString TByteValues::OffsetText(int64_t n)
{
    return QStringLiteral("%1 (0x%2)").arg(QLocale(QLocale::English).toString(qlonglong(n))).arg(QString::number(n, 16).toUpper());
}

bool TByteValues::HasByteOrder(TRow row)
{
    return row >= rInt16 && row <= rFloat64;
}

QString TByteValues::Caption(TRow row)
{
    switch (row) {
    case rBinary: return QStringLiteral("2進数");
    case rInt8: return QStringLiteral("符号付き8ビット");
    case rUInt8: return QStringLiteral("符号なし8ビット");
    case rInt16: return QStringLiteral("符号付き16ビット");
    case rUInt16: return QStringLiteral("符号なし16ビット");
    case rInt32: return QStringLiteral("符号付き32ビット");
    case rUInt32: return QStringLiteral("符号なし32ビット");
    case rInt64: return QStringLiteral("符号付き64ビット");
    case rUInt64: return QStringLiteral("符号なし64ビット");
    case rFloat32: return QStringLiteral("32ビット浮動小数点");
    case rFloat64: return QStringLiteral("64ビット浮動小数点");
    case rChar: return QStringLiteral("文字");
    case rSelStart: return QStringLiteral("選択開始");
    case rSelEnd: return QStringLiteral("選択終了");
    case rSelLength: return QStringLiteral("選択の長さ");
    case kRowCount: break;
    }
    return QString();
}

void TByteValues::Compute(const uint8_t *bytes, int count, const TCharAtCaret &ch, int32_t selStart,
                                   int32_t selEnd)
{
    for (auto &row : FText)
        row[oLittle] = row[oBig] = QString();
    if (count >= 1) {
        FText[rBinary][oLittle] = QStringLiteral("%1").arg(uint(bytes[0]), 8, 2, QLatin1Char('0'));
        FText[rInt8][oLittle] = QString::number(int8_t(bytes[0]));
        FText[rUInt8][oLittle] = QString::number(bytes[0]);
    }
    static const struct {
        int Size;
        TRow Signed, Unsigned;
    } kInts[] = {{2, rInt16, rUInt16}, {4, rInt32, rUInt32}, {8, rInt64, rUInt64}};
    for (const auto &t : kInts) {
        if (count < t.Size)
            continue;
        for (TOrder o : {oLittle, oBig}) {
            const uint64_t v = Unsigned(bytes, t.Size, o == oBig);
            FText[t.Unsigned][o] = QString::number(qulonglong(v));
            FText[t.Signed][o] = QString::number(qlonglong(Signed(v, t.Size)));
        }
    }
    for (TOrder o : {oLittle, oBig}) {
        if (count >= 4) {
            const uint32_t bits = uint32_t(Unsigned(bytes, 4, o == oBig));
            float f;
            std::memcpy(&f, &bits, 4);
            FText[rFloat32][o] = FloatText(f);
        }
        if (count >= 8) {
            const uint64_t bits = Unsigned(bytes, 8, o == oBig);
            double d;
            std::memcpy(&d, &bits, 8);
            FText[rFloat64][o] = FloatText(d);
        }
    }
    ComputeChar(ch);
    if (selStart >= 0 && selEnd >= selStart) {
        FText[rSelStart][oLittle] = OffsetText(selStart);
        FText[rSelEnd][oLittle] = OffsetText(selEnd);
        FText[rSelLength][oLittle] = OffsetText(int64_t(selEnd) - selStart + 1);
    }
}

void TByteValues::ComputeChar(const TCharAtCaret &ch)
{
    QString &text = FText[rChar][oLittle];
    if (!ch.Present)
        return;
    if (ch.Code == TVxCharDecoder::kInvalid) {
        text = QStringLiteral("(不正なバイト)");
    } else if (ch.Code == TVxCharDecoder::kUnmapped) {
        QString hex;
        for (int i = 0; i < ch.Span && i < 4; ++i)
            hex += QStringLiteral("%1").arg(uint(ch.Bytes[i]), 2, 16, QLatin1Char('0')).toUpper();
        text = QStringLiteral("(未定義) 0x") + hex;
    } else if (TVxCharDecoder::IsControl(ch.Code)) {
        text = CodePoint(ch.Code) + QStringLiteral(" (制御文字)");
    } else {
        text = QString::fromUcs4(&ch.Code, 1) + QStringLiteral("  ") + CodePoint(ch.Code);
    }
}
