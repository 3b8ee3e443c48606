// Qt's own texts in Japanese whatever the system's locale, and English ones where the
// translation is not installed.

#include "THexApplication.h"
#include "TUiServices.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QTreeView>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

namespace {
// A button's caption as read, without the Japanese mnemonic suffix "(&Y)".
QString Caption(const QAbstractButton *button)
{
    return button->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)$")));
}

QStringList MessageBoxButtons()
{
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return {Caption(box.button(QMessageBox::Yes)), Caption(box.button(QMessageBox::No)),
            Caption(box.button(QMessageBox::Cancel))};
}

// English as the default locale: only the translator, not the locale, may make Qt speak Japanese.
struct QtTranslationTest : ::testing::Test {
    QLocale saved;
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(saved); }
};
} // namespace

TEST_F(QtTranslationTest, StandardButtonsAndDialogsSpeakJapanese)
{
    std::unique_ptr<QTranslator> tr(THexApplication::InstallQtJapanese(*qApp));
    ASSERT_TRUE(tr) << "qtbase_ja is missing from " << THexApplication::QtTranslationsFolder().toStdString();
    EXPECT_EQ(MessageBoxButtons(), (QStringList{QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("キャンセル")}));

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(Caption(buttons.button(QDialogButtonBox::Cancel)), QStringLiteral("キャンセル"));
    // The common dialogs draw their captions from the same translation.
    const struct {
        const char *context, *source;
    } captions[] = {{"QFileDialog", "File &name:"}, {"QFontDialog", "&Font"}, {"QColorDialog", "&Red:"},
                    {"QPrintDialog", "Print"}};
    for (const auto &c : captions)
        EXPECT_NE(QCoreApplication::translate(c.context, c.source), QString::fromLatin1(c.source)) << c.context;

    tr.reset(); // taken out again: English for the tests that follow
    EXPECT_EQ(Caption(QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::Yes).button(QMessageBox::Yes)),
              QStringLiteral("&Yes"));
}

TEST_F(QtTranslationTest, WithoutTheTranslationQtStaysEnglish)
{
    QTemporaryDir empty;
    EXPECT_EQ(THexApplication::InstallQtJapanese(*qApp, empty.path()), nullptr);
    EXPECT_EQ(MessageBoxButtons(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
}

TEST_F(QtTranslationTest, TheFileAndPrintDialogsLeaveNoEnglishBehind)
{
    // What qtbase_ja lacks comes from our supplement: the file dialog's types, the print
    // dialog's page range. Dates and sizes follow the Japanese locale.
    QTemporaryDir dir;
    const QFileIconProvider icons;
    // Windows' shell names the types itself (in the system's language); elsewhere Qt does.
    const QString before = icons.type(QFileInfo(dir.path()));
    std::unique_ptr<QTranslator> tr(THexApplication::InstallQtJapanese(*qApp));
    ASSERT_TRUE(tr);
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("フォルダー"));
    if (before == QStringLiteral("Folder")) {
        EXPECT_EQ(icons.type(QFileInfo(dir.path())), QStringLiteral("フォルダー"));
    }
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Pages"), QStringLiteral("ページ指定"));
    // The supplement answers only its own texts: the rest is still qtbase_ja's.
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Print all"), QStringLiteral("すべて印刷"));
    THexApplication::UseJapaneseLocale();
    EXPECT_EQ(QLocale().formattedDataSize(0), QStringLiteral("0 バイト"));
    EXPECT_TRUE(QLocale().toString(QDate(2026, 12, 9), QLocale::ShortFormat).startsWith(QStringLiteral("2026/12/")));
    tr.reset();
    EXPECT_EQ(icons.type(QFileInfo(dir.path())), before);
}

TEST(FileDialogColumns, FollowTheirContents)
{
    // Qt's own file dialog elided sizes and dates in fixed-width columns.
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    TUiServices::FitFileDialogColumns(dialog);
    QTreeView *view = dialog.findChild<QTreeView *>();
    ASSERT_NE(view, nullptr);
    for (int c = 1; c < view->header()->count(); ++c)
        EXPECT_EQ(view->header()->sectionResizeMode(c), QHeaderView::ResizeToContents) << c;
}
