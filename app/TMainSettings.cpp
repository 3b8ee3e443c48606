#include "TMainSettings.h"

#include "TAppUtils.h"
#include "TByteValuesPanel.h"
#include "TDialogSupport.h"
#include "TInstanceCommands.h"
#include "TFileCommands.h"
#include "TRecentFiles.h"
#include "TSearchCommands.h"
#include "TSettingsFile.h"
#include "TVxHexcavator.h"
#include "TVxTransfer.h"
#include "TfrmMain.h"

#include <QAction>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

QColor TMainSettings::ToQColor(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

uint32_t TMainSettings::FromQColor(const QColor &c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

QFont TMainSettings::ToQFont(const TFontSetting &f)
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

TFontSetting TMainSettings::FromQFont(const QFont &font)
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

QAction *TMainSettings::CharCodeCommand(const TMainActions &a, const TSettings &s)
{
    if (s.CharCode == 1)
        return a.acSjisByte;
    // The name counts for the codes that CharCode cannot tell; JIS has no decoder.
    QAction *named = a.CharCodeAction(s.CharCodeName);
    return named && named->isEnabled() ? named : a.acAsciiByte;
}

void TMainSettings::LoadSettings()
{
    const TSettingsFile file;
    Apply(file.Load(), FMain.Instances().EditorInstanceCount() == 1, file.FileName());
}

void TMainSettings::SaveSettings() { TSettingsFile().Save(Collect()); }

void TMainSettings::Apply(const TSettings &s, bool soleInstance, const std::string &fileName)
{
    TfrmMain &m = FMain;
    TMainActions &a = m.Actions;
    TVxHexcavator &ed = *m.VxHexcavator1;

    if (soleInstance) {
        if (s.Position) {
            const auto &r = *s.Position;
            m.setGeometry(r[0], r[1], r[2] - r[0], r[3] - r[1]);
        } else if (s.MalformedPosition) {
            const QRect screen = (m.screen() ? m.screen() : QGuiApplication::primaryScreen())->geometry();
            m.setGeometry((screen.width() - 600) / 2, (screen.height() - 430) / 2, 600, 430);
        }
        if (s.ShowCmd == 3)
            m.setWindowState(m.windowState() | Qt::WindowMaximized);
    }

    m.Files().FKeepUndoOnSave = s.KeepUndoOnSave;
    m.Files().FReadOnlyWhenFileOpen = s.ReadOnlyWhenFileOpen;
    a.acViewAddressHeader->setChecked(s.ViewAddressHeader);
    a.acViewByteView->setChecked(s.ViewByteView);
    a.acViewToolBar->setChecked(s.ViewToolBar);
    a.acViewStatusBar->setChecked(s.ViewStatusBar);
    ed.setFont(ToQFont(s.Font));
    m.FFontCharset = s.Font.Charset;
    ed.SetFontColor(ToQColor(s.FontColor));
    ed.SetColor(ToQColor(s.BGColor));
    ed.SetSelectColor(ToQColor(s.SelectFontColor));
    ed.SetSelectBGColor(ToQColor(s.SelectBGColor));
    ed.SetCurrentLineColor(ToQColor(s.CurrentLineFontColor));
    ed.SetCurrentLineBGColor(ToQColor(s.CurrentLineBGColor));
    ed.SetAddressColor(ToQColor(s.AddressFontColor));
    ed.SetAddressBGColor(ToQColor(s.AddressBGColor));
    ed.SetDoubleBuffered(s.DoubleBuffered);
    ed.SaveBackup = s.SaveBackup;
    ed.SaveBackupCount = s.SaveBackupCount;
    ed.SetHideOffsetHeader(!a.acViewAddressHeader->isChecked());
    ed.SetHideByteView(!a.acViewByteView->isChecked());
    ed.SetViewUnderLine(s.ViewUnderLine);
    a.acViewUnderLine->setChecked(s.ViewUnderLine);
    ed.SetUnderLineColor(ToQColor(s.UnderLineColor));
    switch (s.ColumnBytes) {
    case 2: m.ChangeColumnBytes(a.accb2byte); break;
    case 4: m.ChangeColumnBytes(a.accb4byte); break;
    case 8: m.ChangeColumnBytes(a.accb8byte); break;
    case 16: m.ChangeColumnBytes(a.accb16byte); break;
    default: m.ChangeColumnBytes(a.accb1byte); break;
    }
    m.ChangeCharCode(CharCodeCommand(a, s));
    m.Searches().FJumpAddress = QString::fromStdString(s.JumpAddress);
    m.ToolBar()->setVisible(a.acViewToolBar->isChecked());
    m.statusBar()->setVisible(a.acViewStatusBar->isChecked());
    m.ValuesPanel().Apply(s, soleInstance);

    if (soleInstance)
        m.Searches().Search().State().SetSearchText(TDialogSupport::ToBytes(QString::fromStdString(s.SearchText)),
                                                    s.SearchIgnoreCase, true, s.SearchHex);
    m.PrintSettings = s.Print;
    m.Recent().LoadRecentFiles();

    if (!s.Ignored.empty()) {
        QString text = QFile::decodeName(fileName.c_str()) +
                       QStringLiteral("\r\n次の設定値は正しくないため、既定値を使います。");
        for (const std::string &key : s.Ignored)
            text += QStringLiteral("\r\n") + QString::fromStdString(key);
        QTimer::singleShot(0, &m, [text] { TAppUtils::ShowAppMessage(text, 0x30); });
    }
}

TSettings TMainSettings::Collect() const
{
    const TfrmMain &m = FMain;
    const TMainActions &a = m.Actions;
    const TVxHexcavator &ed = *m.VxHexcavator1;
    TSettings s;
    const QRect r = m.normalGeometry().isValid() ? m.normalGeometry() : m.geometry();
    s.Position = std::array<int32_t, 4>{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    s.ShowCmd = m.isMaximized() ? 3 : m.isMinimized() ? 2 : 1;

    s.KeepUndoOnSave = FMain.Files().FKeepUndoOnSave;
    s.ReadOnlyWhenFileOpen = FMain.Files().FReadOnlyWhenFileOpen;
    s.ViewAddressHeader = a.acViewAddressHeader->isChecked();
    s.ViewByteView = a.acViewByteView->isChecked();
    s.ViewToolBar = a.acViewToolBar->isChecked();
    s.ViewStatusBar = a.acViewStatusBar->isChecked();
    s.Font = FromQFont(ed.font());
    s.Font.Charset = m.FFontCharset;
    s.FontColor = FromQColor(ed.FontColor());
    s.BGColor = FromQColor(ed.Color());
    s.SelectFontColor = FromQColor(ed.SelectColor());
    s.SelectBGColor = FromQColor(ed.SelectBGColor());
    s.CurrentLineFontColor = FromQColor(ed.CurrentLineColor());
    s.CurrentLineBGColor = FromQColor(ed.CurrentLineBGColor());
    s.AddressFontColor = FromQColor(ed.AddressColor());
    s.AddressBGColor = FromQColor(ed.AddressBGColor());
    s.DoubleBuffered = ed.DoubleBuffered();
    s.SaveBackup = ed.SaveBackup;
    s.SaveBackupCount = ed.SaveBackupCount;
    s.ViewUnderLine = ed.ViewUnderLine();
    s.UnderLineColor = FromQColor(ed.UnderLineColor());
    static const int kGroup[] = {1, 2, 4, 8, 16};
    s.ColumnBytes = kGroup[static_cast<int>(ed.ColumnBytes())];
    s.CharCode = ed.CharCode() == ccSJIS ? 1 : 0;
    s.JumpAddress = FMain.Searches().FJumpAddress.toStdString();
    for (int tag = 0; TMainActions::CharCodeOfTag(tag); ++tag)
        if (TMainActions::CharCodeOfTag(tag)->Code == ed.CharCode())
            s.CharCodeName = TMainActions::CharCodeOfTag(tag)->Name;
    FMain.ValuesPanel().Collect(s);

    const std::string &text = FMain.Searches().FSearchText;
    s.SearchText = TVxTransfer::FromCodePage(QByteArray::fromStdString(text)).toStdString();
    s.SearchIgnoreCase = FMain.Searches().FSearchIgnoreCase;
    s.SearchHex = FMain.Searches().FSearchHex;
    s.Print = m.PrintSettings;
    return s;
}
