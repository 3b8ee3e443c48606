#include "TfrmOption.h"

#include "TAppUtils.h"
#include "TBusyState.h"
#include "TFixedPitchFontDialog.h"
#include "TShellRegistration.h"
#include "TUiServices.h"
#include "TVxMessageBox.h"
#include "TVxHexcavator.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace {
QCheckBox *Check(QWidget *parent, const QString &caption, int top)
{
    auto *c = new QCheckBox(caption, parent);
    c->setGeometry(12, top, 290, 17);
    return c;
}

QLabel *Label(QWidget *parent, const QString &caption, int left, int top)
{
    auto *l = new QLabel(caption, parent);
    l->move(left, top);
    l->adjustSize(); // the designed width clips the text in some fonts
    return l;
}

// A spin box that brings a typed value outside its range to the nearest end rather than
// falling back to the value it had.
QSpinBox *Spin(QWidget *parent, const QRect &rect, int min, int max)
{
    auto *s = new QSpinBox(parent);
    s->setGeometry(rect);
    s->setRange(min, max);
    s->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return s;
}

// A sunken panel showing "1234 ABCD", black on white until told otherwise.
QLabel *Preview(QWidget *parent, const QRect &rect)
{
    auto *p = new QLabel(QStringLiteral("1234 ABCD"), parent);
    p->setGeometry(rect);
    p->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    p->setAlignment(Qt::AlignCenter);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    p->setPalette(pal);
    return p;
}

// The style's text and background colour of each item of the colour list, in the list's
// order; the underline and the changed bytes have no background, the differences of a
// compare no text colour (their text keeps the colour it has anyway).
const struct {
    QColor TVxViewStyle::*Text;
    QColor TVxViewStyle::*Back;
} kItemFields[TfrmOption::ciCount] = {
    {&TVxViewStyle::FontColor, &TVxViewStyle::Color},
    {&TVxViewStyle::SelectColor, &TVxViewStyle::SelectBGColor},
    {&TVxViewStyle::CurrentLineColor, &TVxViewStyle::CurrentLineBGColor},
    {&TVxViewStyle::UnderLineColor, nullptr},
    {&TVxViewStyle::AddressColor, &TVxViewStyle::AddressBGColor},
    {&TVxViewStyle::ChangedColor, nullptr},
    {nullptr, &TVxViewStyle::MarkBGColor},
};

void SetPreviewColors(QLabel *preview, const QColor &text, const QColor &back)
{
    QPalette pal = preview->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, back);
    preview->setPalette(pal);
}
} // namespace

TfrmOption::TfrmOption(TBusyState &busy, TVxHexcavator &editor) : QDialog(busy.Window()), FBusy(busy), FEditor(editor)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("環境設定"));
    setFont(TAppUtils::DialogFont());
    setFixedSize(411, 297);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 313, 281);
    auto *general = new QWidget;
    auto *display = new QWidget;
    auto *print = new QWidget;
    PageControl1->addTab(general, QStringLiteral("全般"));
    PageControl1->addTab(display, QStringLiteral("表示フォント・色"));
    PageControl1->addTab(print, QStringLiteral("印刷"));
    BuildGeneralPage(general);
    BuildDisplayPage(display);
    BuildPrintPage(print);

    Button4 = new QPushButton(QStringLiteral("OK"), this);
    Button4->setGeometry(329, 30, 75, 25);
    Button4->setDefault(true);
    Button5 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button5->setGeometry(329, 62, 75, 25);
    connect(Button4, &QPushButton::clicked, this, &TfrmOption::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);

    Font1 = new TFixedPitchFontDialog(this);
    Color1 = new QColorDialog(this);
    Color1->setObjectName(QStringLiteral("Color1"));

    FormCreate(busy.Window());
}

void TfrmOption::BuildGeneralPage(QWidget *page)
{
    chkReadOnly = Check(page, QStringLiteral("ファイルを開いたときは書込み禁止にする(&R)"), 14);
    chkDoubleBuffered = Check(page, QStringLiteral("画面のちらつきを極力抑止する(&D)"), 38);
    Label(page, QStringLiteral("（若干反応速度に影響します）"), 30, 57);
    chkBackup = Check(page, QStringLiteral("保存時、バックアップを作成する(&B)"), 82);
    QLabel *count = Label(page, QStringLiteral("世代数(1～999)："), 30, 106);
    edtBackupCount = Spin(page, QRect(count->geometry().right() + 6, 102, 60, 21), 1, 999);
    count->setBuddy(edtBackupCount);
    chkFileSaveWithoutClearUndo = Check(page, QStringLiteral("保存時、アンドゥ履歴をクリアしない(&U)"), 134);
    chkUseShellExtention = Check(page, QStringLiteral("シェルのコンテキストメニューに登録(&S)"), 158);
    connect(chkBackup, &QCheckBox::toggled, this, &TfrmOption::chkBackupClick);
}

void TfrmOption::BuildDisplayPage(QWidget *page)
{
    auto *font = new QGroupBox(QStringLiteral("表示フォント"), page);
    font->setGeometry(8, 6, 293, 66);
    pnlFont = Preview(font, QRect(10, 18, 190, 38));
    Button3 = new QPushButton(QStringLiteral("変更(&F)..."), font);
    Button3->setGeometry(208, 24, 75, 25);
    connect(Button3, &QPushButton::clicked, this, &TfrmOption::Button3Click);

    auto *colors = new QGroupBox(QStringLiteral("色"), page);
    colors->setGeometry(8, 78, 293, 170);
    ListBox1 = new QListWidget(colors);
    ListBox1->setGeometry(10, 18, 172, 84);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->addItems({QStringLiteral("通常の状態"), QStringLiteral("選択状態"), QStringLiteral("カーソルのある行"),
                        QStringLiteral("カーソル行アンダーライン"), QStringLiteral("アドレスヘッダー"),
                        QStringLiteral("変更されたバイト"), QStringLiteral("相違点")});
    btnFontColor = new QPushButton(QStringLiteral("文字色(&T)..."), colors);
    btnFontColor->setGeometry(190, 18, 93, 25);
    btnBkColor = new QPushButton(QStringLiteral("背景色(&B)..."), colors);
    btnBkColor->setGeometry(190, 48, 93, 25);
    pnlFontColor = Preview(colors, QRect(10, 110, 273, 48));
    // A Ctrl+click can take the selection away without moving the current row.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TfrmOption::ListBox1Click);
    connect(btnFontColor, &QPushButton::clicked, this, &TfrmOption::btnFontColorClick);
    connect(btnBkColor, &QPushButton::clicked, this, &TfrmOption::btnBkColorClick);
}

void TfrmOption::BuildPrintPage(QWidget *page)
{
    chkPrintFileName = Check(page, QStringLiteral("ヘッダにファイル名を印刷する"), 14);
    chkPrintPageNo = Check(page, QStringLiteral("フッタにページ番号を印刷する"), 38);

    auto *margins = new QGroupBox(QStringLiteral("用紙の余白(mm)"), page);
    margins->setGeometry(8, 64, 293, 56);
    QSpinBox **edits[] = {&edtTopMargin, &edtBottomMargin, &edtLeftMargin};
    const QString captions[] = {QStringLiteral("上:"), QStringLiteral("下:"), QStringLiteral("左:")};
    for (int i = 0; i < 3; ++i) {
        QLabel *l = Label(margins, captions[i], 12 + 90 * i, 27);
        *edits[i] = Spin(margins, QRect(l->geometry().right() + 6, 22, 55, 21), 0, 999);
        l->setBuddy(*edits[i]);
    }

    auto *font = new QGroupBox(QStringLiteral("印刷フォント"), page);
    font->setGeometry(8, 128, 293, 66);
    pnlPrintFont = Preview(font, QRect(10, 18, 190, 38));
    Button1 = new QPushButton(QStringLiteral("変更(&F)..."), font);
    Button1->setGeometry(208, 24, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TfrmOption::Button1Click);
}

void TfrmOption::FormCreate(QWidget *mainWindow)
{
    TAppUtils::CenterOnMainForm(this, mainWindow);
    PageControl1->setCurrentIndex(0);
    pnlFont->setFont(FEditor.font());

    const TVxViewStyle &style = FEditor.ViewStyle();
    for (int i = 0; i < ciCount; ++i) {
        FTextColors[i] = kItemFields[i].Text ? style.*kItemFields[i].Text : style.FontColor;
        if (kItemFields[i].Back)
            FBackColors[i] = style.*kItemFields[i].Back;
    }

    chkBackup->setChecked(FEditor.SaveBackup);
    edtBackupCount->setValue(FEditor.SaveBackupCount);
    chkDoubleBuffered->setChecked(FEditor.DoubleBuffered());
    chkUseShellExtention->setChecked(TShellRegistration::IsShellExtensionRegistered());
    chkBackupClick();
    ListBox1Click();
}

int TfrmOption::SelectedItem() const
{
    const int row = ListBox1->currentRow();
    return row >= 0 && row < ciCount && ListBox1->item(row)->isSelected() ? row : -1;
}

void TfrmOption::chkBackupClick()
{
    // The count stays as typed while disabled; OK applies it either way.
    edtBackupCount->setEnabled(chkBackup->isChecked());
}

void TfrmOption::ListBox1Click()
{
    const int item = SelectedItem();
    btnFontColor->setEnabled(item >= 0);
    btnBkColor->setEnabled(item >= 0);
    if (item < 0)
        return;
    const QColor back = kItemFields[item].Back ? FBackColors[item] : FBackColors[ciNormal];
    SetPreviewColors(pnlFontColor, FTextColors[item], back);
}

bool TfrmOption::AskColor(QColor &color)
{
    Color1->setCurrentColor(color);
    if (!TUiServices::Instance().ExecColorDialog(*Color1))
        return false;
    color = Color1->currentColor();
    return true;
}

void TfrmOption::btnFontColorClick()
{
    const int item = SelectedItem();
    if (item < 0)
        return;
    if (!kItemFields[item].Text) {
        FBusy.Message(QStringLiteral("この項目の文字色は設定できません。"), mbIconInformation);
        return;
    }
    QColor color = pnlFontColor->palette().color(QPalette::WindowText);
    if (AskColor(color))
        FTextColors[item] = color;
    ListBox1Click();
}

void TfrmOption::btnBkColorClick()
{
    const int item = SelectedItem();
    if (item < 0)
        return;
    if (!kItemFields[item].Back) {
        FBusy.Message(QStringLiteral("この項目の背景色は設定できません。"), mbIconInformation);
        return;
    }
    QColor color = pnlFontColor->palette().color(QPalette::Window);
    if (AskColor(color))
        FBackColors[item] = color;
    ListBox1Click();
}

void TfrmOption::ChangePreviewFont(QLabel *preview)
{
    Font1->SetCurrentFont(preview->font());
    Font1->SetCurrentColor(preview->palette().color(QPalette::WindowText));
    // The colour chosen with the font is not taken: the preview stays black on white.
    if (TUiServices::Instance().ExecFontDialog(*Font1))
        preview->setFont(Font1->CurrentFont());
}

void TfrmOption::Button3Click() { ChangePreviewFont(pnlFont); }

void TfrmOption::Button1Click() { ChangePreviewFont(pnlPrintFont); }

void TfrmOption::Button4Click()
{
    // A value typed but not yet confirmed counts, brought into its range.
    for (QSpinBox *s : {edtBackupCount, edtTopMargin, edtBottomMargin, edtLeftMargin})
        s->interpretText();

    FEditor.setFont(pnlFont->font());
    TVxViewStyle style = FEditor.ViewStyle();
    for (int i = 0; i < ciCount; ++i) {
        if (kItemFields[i].Text)
            style.*kItemFields[i].Text = FTextColors[i];
        if (kItemFields[i].Back)
            style.*kItemFields[i].Back = FBackColors[i];
    }
    FEditor.SetViewStyle(style); // one repaint for all the colours

    FEditor.SetDoubleBuffered(chkDoubleBuffered->isChecked());
    FEditor.SaveBackup = chkBackup->isChecked();
    FEditor.SaveBackupCount = edtBackupCount->value();

    if (chkUseShellExtention->isChecked())
        TShellRegistration::RegisterShellExtension();
    else
        TShellRegistration::UnregisterShellExtension();
    accept();
}
