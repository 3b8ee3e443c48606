#include "TSettingsQt.h"

QColor TSettingsQt::ToQColor(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

uint32_t TSettingsQt::FromQColor(const QColor &c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

QFont TSettingsQt::ToQFont(const TFontSetting &f)
{
    QFont font(QString::fromStdString(f.Name));
    font.setPointSize(f.Size);
    font.setBold(f.Style.Bold);
    font.setItalic(f.Style.Italic);
    font.setUnderline(f.Style.Underline);
    font.setStrikeOut(f.Style.StrikeOut);
    // "FixedSys" and friends are rarely installed: let the matcher pick a monospace face.
    font.setStyleHint(QFont::Monospace);
    return font;
}

TFontSetting TSettingsQt::FromQFont(const QFont &font)
{
    TFontSetting f;
    f.Name = font.family().toStdString();
    f.Size = font.pointSize() > 0 ? font.pointSize() : (font.pixelSize() * 72 + 48) / 96;
    f.Style.Bold = font.bold();
    f.Style.Italic = font.italic();
    f.Style.Underline = font.underline();
    f.Style.StrikeOut = font.strikeOut();
    return f;
}

namespace {
// Each colour of the settings file and the style's field that shows it.
const struct {
    uint32_t TSettings::*Setting;
    QColor TVxViewStyle::*Style;
} kColors[] = {
    {&TSettings::FontColor, &TVxViewStyle::FontColor},
    {&TSettings::BGColor, &TVxViewStyle::Color},
    {&TSettings::SelectFontColor, &TVxViewStyle::SelectColor},
    {&TSettings::SelectBGColor, &TVxViewStyle::SelectBGColor},
    {&TSettings::CurrentLineFontColor, &TVxViewStyle::CurrentLineColor},
    {&TSettings::CurrentLineBGColor, &TVxViewStyle::CurrentLineBGColor},
    {&TSettings::AddressFontColor, &TVxViewStyle::AddressColor},
    {&TSettings::AddressBGColor, &TVxViewStyle::AddressBGColor},
    {&TSettings::UnderLineColor, &TVxViewStyle::UnderLineColor},
    {&TSettings::ChangedFontColor, &TVxViewStyle::ChangedColor},
    {&TSettings::DiffBGColor, &TVxViewStyle::MarkBGColor},
};
} // namespace

TVxViewStyle TSettingsQt::ToViewStyle(const TSettings &s, TVxViewStyle base)
{
    for (const auto &c : kColors)
        base.*c.Style = ToQColor(s.*c.Setting);
    base.HideOffsetHeader = !s.ViewAddressHeader;
    base.HideByteView = !s.ViewByteView;
    base.ViewUnderLine = s.ViewUnderLine;
    return base;
}

void TSettingsQt::FromViewStyle(const TVxViewStyle &style, TSettings &s)
{
    for (const auto &c : kColors)
        s.*c.Setting = FromQColor(style.*c.Style);
    s.ViewAddressHeader = !style.HideOffsetHeader;
    s.ViewByteView = !style.HideByteView;
    s.ViewUnderLine = style.ViewUnderLine;
}
