// Qt's own texts in Japanese whatever the system's locale, and English ones where the
// translation is not installed.

#include "THexApplication.h"

#include <QDialogButtonBox>
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
