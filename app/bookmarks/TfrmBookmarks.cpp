#include "TfrmBookmarks.h"

#include "TUiServices.h"
#include "TVxBookmarks.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum TColumn { colOffset, colLength, colName, colColor };

QColor ColorOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
uint32_t BgrOf(const QColor &c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}
} // namespace

TfrmBookmarks::TfrmBookmarks(QWidget *parent, TVxBookmarks &marks, std::function<void()> changed)
    : QDialog(parent), FMarks(marks), FChanged(std::move(changed))
{
    setWindowTitle(QStringLiteral("しおりの一覧"));
    lstMarks = new QTreeWidget(this);
    lstMarks->setObjectName(QStringLiteral("lstMarks"));
    lstMarks->setRootIsDecorated(false);
    lstMarks->setAllColumnsShowFocus(true);
    lstMarks->setHeaderLabels({QStringLiteral("オフセット"), QStringLiteral("長さ"), QStringLiteral("名前"), QStringLiteral("色")});

    auto *buttons = new QDialogButtonBox(this);
    btnJump = buttons->addButton(QStringLiteral("ジャンプ(&J)"), QDialogButtonBox::AcceptRole);
    btnRename = buttons->addButton(QStringLiteral("名前の変更(&R)..."), QDialogButtonBox::ActionRole);
    btnColor = buttons->addButton(QStringLiteral("色の変更(&C)..."), QDialogButtonBox::ActionRole);
    btnDelete = buttons->addButton(QStringLiteral("削除(&D)"), QDialogButtonBox::ActionRole);
    btnClose = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    for (QPushButton *b : {btnRename, btnColor, btnDelete, btnClose})
        b->setAutoDefault(false);
    btnJump->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstMarks);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Current())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(btnRename, &QPushButton::clicked, this, &TfrmBookmarks::Rename);
    connect(btnColor, &QPushButton::clicked, this, &TfrmBookmarks::Recolor);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmBookmarks::Delete);
    connect(lstMarks, &QTreeWidget::itemActivated, this, [this] { accept(); });

    // The name takes what the numbers leave, so a name given later is not cut short.
    QHeaderView *header = lstMarks->header();
    header->setStretchLastSection(false);
    for (int c : {colOffset, colLength, colColor})
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(colName, QHeaderView::Stretch);
    Fill(FMarks.Empty() ? 0 : FMarks.All().front().Id);
    lstMarks->setMinimumWidth(fontMetrics().horizontalAdvance(QString(70, QLatin1Char('0'))));
    lstMarks->setFocus();
}

void TfrmBookmarks::Fill(int64_t current)
{
    lstMarks->clear();
    for (const TVxBookmark &m : FMarks.All()) {
        auto *item = new QTreeWidgetItem(lstMarks);
        item->setData(colOffset, Qt::UserRole, QVariant::fromValue<qlonglong>(m.Id));
        item->setText(colOffset, QString::number(m.Offset, 16).toUpper().rightJustified(8, QLatin1Char('0')));
        item->setText(colLength, QString::number(m.Length));
        item->setTextAlignment(colLength, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(colName, QString::fromStdString(m.Name));
        QPixmap swatch(12, 12);
        swatch.fill(ColorOf(m.Color));
        item->setIcon(colColor, swatch);
        item->setText(colColor, ColorOf(m.Color).name().toUpper());
    }
    SelectId(current);
    const bool any = lstMarks->topLevelItemCount() > 0;
    for (QPushButton *b : {btnJump, btnRename, btnColor, btnDelete})
        b->setEnabled(any);
}

void TfrmBookmarks::SelectId(int64_t id)
{
    for (int i = 0; i < lstMarks->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lstMarks->topLevelItem(i);
        if (item->data(colOffset, Qt::UserRole).toLongLong() == id) {
            lstMarks->setCurrentItem(item);
            return;
        }
    }
    if (lstMarks->topLevelItemCount() > 0)
        lstMarks->setCurrentItem(lstMarks->topLevelItem(0));
}

int64_t TfrmBookmarks::CurrentId() const
{
    const TVxBookmark *m = Current();
    return m ? m->Id : 0;
}

const TVxBookmark *TfrmBookmarks::Current() const
{
    const QTreeWidgetItem *item = lstMarks->currentItem();
    return item ? FMarks.Find(item->data(colOffset, Qt::UserRole).toLongLong()) : nullptr;
}

void TfrmBookmarks::Rename()
{
    const TVxBookmark *m = Current();
    if (!m)
        return;
    const int64_t id = m->Id;
    QString name = QString::fromStdString(m->Name);
    if (!TUiServices::Instance().AskString(this, QStringLiteral("名前の変更"), QStringLiteral("しおりの名前:"), name))
        return;
    FMarks.Change(id, name.toStdString(), m->Color);
    Changed(id);
}

void TfrmBookmarks::Recolor()
{
    const TVxBookmark *m = Current();
    if (!m)
        return;
    const int64_t id = m->Id;
    QColorDialog dialog(ColorOf(m->Color), this);
    if (!TUiServices::Instance().ExecColorDialog(dialog))
        return;
    FMarks.Change(id, m->Name, BgrOf(dialog.currentColor()));
    Changed(id);
}

void TfrmBookmarks::Delete()
{
    const TVxBookmark *m = Current();
    if (!m)
        return;
    // The row after it becomes current, or the one before when it was the last.
    const int row = lstMarks->indexOfTopLevelItem(lstMarks->currentItem());
    QTreeWidgetItem *next = lstMarks->topLevelItem(row + 1) ? lstMarks->topLevelItem(row + 1) : lstMarks->topLevelItem(row - 1);
    const int64_t nextId = next ? next->data(colOffset, Qt::UserRole).toLongLong() : 0;
    FMarks.Remove(m->Id);
    Changed(nextId);
}

void TfrmBookmarks::Changed(int64_t current)
{
    Fill(current);
    FChanged();
}

void TfrmBookmarks::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Delete && lstMarks->hasFocus()) {
        Delete();
        return;
    }
    QDialog::keyPressEvent(e);
}
