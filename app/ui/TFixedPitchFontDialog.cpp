#include "TFixedPitchFontDialog.h"

#include "TAppUtils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

namespace {
// The sixteen colours of the system font dialogs.
const struct {
    const char *Name;
    QRgb Rgb;
} kColors[] = {
    {"黒", 0x000000},     {"栗色", 0x800000}, {"緑", 0x008000},   {"オリーブ", 0x808000},
    {"紺", 0x000080},     {"紫", 0x800080},   {"青緑", 0x008080}, {"灰色", 0x808080},
    {"銀色", 0xC0C0C0},   {"赤", 0xFF0000},   {"ライム", 0x00FF00}, {"黄", 0xFFFF00},
    {"青", 0x0000FF},     {"赤紫", 0xFF00FF}, {"水色", 0x00FFFF}, {"白", 0xFFFFFF},
};
constexpr int kStandardColors = int(std::size(kColors));

QIcon Swatch(const QColor &color)
{
    QPixmap pm(20, 12);
    pm.fill(color);
    return QIcon(pm);
}

int PointSize(const QFont &font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    return font.pixelSize() > 0 ? std::max(1, (font.pixelSize() * 72 + 48) / 96) : 10;
}
} // namespace

TFixedPitchFontDialog::TFixedPitchFontDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Font1"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("フォント"));
    setFont(TAppUtils::DialogFont());
    setFixedSize(460, 300);

    auto *lblFamily = new QLabel(QStringLiteral("フォント名(&F):"), this);
    lblFamily->move(12, 10);
    lstFamily = new QListWidget(this);
    lstFamily->setGeometry(12, 28, 180, 150);
    lblFamily->setBuddy(lstFamily);

    auto *lblStyle = new QLabel(QStringLiteral("スタイル(&Y):"), this);
    lblStyle->move(200, 10);
    lstStyle = new QListWidget(this);
    lstStyle->setGeometry(200, 28, 110, 150);
    lstStyle->addItems({QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"), QStringLiteral("太字 斜体")});
    lblStyle->setBuddy(lstStyle);

    auto *lblSize = new QLabel(QStringLiteral("サイズ(&S):"), this);
    lblSize->move(318, 10);
    edtSize = new QSpinBox(this);
    edtSize->setGeometry(318, 28, 60, 22);
    edtSize->setRange(1, 999);
    edtSize->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    lblSize->setBuddy(edtSize);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(386, 28, 66, 24);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btnCancel->setGeometry(386, 58, 66, 24);

    auto *effects = new QGroupBox(QStringLiteral("文字飾り"), this);
    effects->setGeometry(12, 186, 180, 104);
    chkStrikeOut = new QCheckBox(QStringLiteral("取り消し線(&K)"), effects);
    chkStrikeOut->setGeometry(10, 20, 160, 17);
    chkUnderline = new QCheckBox(QStringLiteral("下線(&U)"), effects);
    chkUnderline->setGeometry(10, 42, 160, 17);
    auto *lblColor = new QLabel(QStringLiteral("色(&C):"), effects);
    lblColor->move(10, 70);
    cmbColor = new QComboBox(effects);
    cmbColor->setGeometry(50, 66, 120, 22);
    for (const auto &c : kColors)
        cmbColor->addItem(Swatch(QColor(c.Rgb)), QString::fromUtf8(c.Name), QColor(c.Rgb));
    lblColor->setBuddy(cmbColor);

    auto *sample = new QGroupBox(QStringLiteral("サンプル"), this);
    sample->setGeometry(200, 186, 252, 104);
    lblSample = new QLabel(QStringLiteral("Aaあぁアァ亜宇"), sample);
    lblSample->setGeometry(8, 18, 236, 78);
    lblSample->setAlignment(Qt::AlignCenter);

    QWidget *order[] = {lstFamily, lstStyle, edtSize, chkStrikeOut, chkUnderline, cmbColor, btnOK, btnCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(lstFamily, &QListWidget::currentRowChanged, this, [this] { ControlChanged(); });
    connect(lstStyle, &QListWidget::currentRowChanged, this, [this] { ControlChanged(); });
    connect(edtSize, &QSpinBox::valueChanged, this, [this] { ControlChanged(); });
    connect(chkStrikeOut, &QCheckBox::toggled, this, [this] { ControlChanged(); });
    connect(chkUnderline, &QCheckBox::toggled, this, [this] { ControlChanged(); });
    connect(cmbColor, &QComboBox::currentIndexChanged, this, [this] { ControlChanged(); });
    connect(btnOK, &QPushButton::clicked, this, [this] {
        edtSize->interpretText(); // a size typed but not yet confirmed counts
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    ShowCurrent();
}

bool TFixedPitchFontDialog::IsFixedPitch(const QString &family)
{
    if (!QFontDatabase::hasFamily(family))
        return false;
    QFont font(family);
    // Large enough that rounding cannot make a narrow "i" look as wide as a "W".
    font.setPixelSize(40);
    // Without merging, a glyph the family lacks is not measured in some other face.
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetricsF fm(font);
    if (!fm.inFontUcs4('i') || !fm.inFontUcs4('W'))
        return false;
    return std::abs(fm.horizontalAdvance(QLatin1Char('i')) - fm.horizontalAdvance(QLatin1Char('W'))) < 0.01;
}

QStringList TFixedPitchFontDialog::FixedPitchFamilies()
{
    QStringList result;
    for (const QString &family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && IsFixedPitch(family))
            result << family;
    return result;
}

void TFixedPitchFontDialog::showEvent(QShowEvent *e)
{
    if (!FFilled)
        FillFamilies();
    QDialog::showEvent(e);
}

void TFixedPitchFontDialog::FillFamilies()
{
    FFilled = true;
    FShowing = true;
    lstFamily->clear();
    lstFamily->addItems(FixedPitchFamilies());
    FShowing = false;
    ShowCurrent();
}

void TFixedPitchFontDialog::SetCurrentFont(const QFont &font)
{
    FFont = font;
    FFont.setPointSize(PointSize(font));
    ShowCurrent();
}

void TFixedPitchFontDialog::SetCurrentColor(const QColor &color)
{
    FColor = color;
    ShowCurrent();
}

void TFixedPitchFontDialog::ShowCurrent()
{
    FShowing = true;
    QList<QListWidgetItem *> found = lstFamily->findItems(FFont.family(), Qt::MatchFixedString);
    // A family that is not installed ("FixedSys") shows as the face drawn in its stead; the
    // name itself is kept until the user picks one.
    if (found.isEmpty())
        found = lstFamily->findItems(QFontInfo(FFont).family(), Qt::MatchFixedString);
    if (found.isEmpty())
        lstFamily->setCurrentRow(-1);
    else
        lstFamily->setCurrentItem(found.front());
    lstStyle->setCurrentRow((FFont.bold() ? 2 : 0) + (FFont.italic() ? 1 : 0));
    edtSize->setValue(PointSize(FFont));
    chkStrikeOut->setChecked(FFont.strikeOut());
    chkUnderline->setChecked(FFont.underline());
    int colorRow = cmbColor->findData(FColor);
    if (colorRow < 0) {
        // A colour outside the sixteen gets one extra entry of its own.
        if (cmbColor->count() == kStandardColors)
            cmbColor->addItem(QString(), QColor());
        colorRow = kStandardColors;
        cmbColor->setItemIcon(colorRow, Swatch(FColor));
        cmbColor->setItemText(colorRow, QStringLiteral("カスタム"));
        cmbColor->setItemData(colorRow, FColor);
    }
    cmbColor->setCurrentIndex(colorRow);
    FShowing = false;
    UpdateSample();
}

void TFixedPitchFontDialog::ControlChanged()
{
    if (FShowing)
        return;
    if (QListWidgetItem *item = lstFamily->currentItem())
        FFont.setFamily(item->text());
    const int style = std::max(0, lstStyle->currentRow());
    FFont.setBold(style >= 2);
    FFont.setItalic(style % 2 == 1);
    FFont.setPointSize(edtSize->value());
    FFont.setStrikeOut(chkStrikeOut->isChecked());
    FFont.setUnderline(chkUnderline->isChecked());
    FColor = cmbColor->currentData().value<QColor>();
    UpdateSample();
}

void TFixedPitchFontDialog::UpdateSample()
{
    lblSample->setFont(FFont);
    QPalette pal = lblSample->palette();
    pal.setColor(QPalette::WindowText, FColor);
    lblSample->setPalette(pal);
}
