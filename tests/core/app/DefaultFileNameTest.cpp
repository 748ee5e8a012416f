#include "app/DefaultFileName.h"

#include "i18n/Catalogue.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zx;

class DefaultFileNameTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    Catalogue catalogue;
    test::ScriptedPrompter prompter;
};

TEST_F(DefaultFileNameTest, FirstNumberWhenNothingExists)
{
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), dir.file("Swprg1.zxp"));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(DefaultFileNameTest, SkipsTakenNumbersAndTakesFirstGap)
{
    dir.write("Swprg1.zxp", "x");
    dir.write("Swprg2.zxp", "x");
    dir.write("Swprg4.zxp", "x");
    dir.write("SzTab3.zxp", "x"); // another language's names do not count
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), dir.file("Swprg3.zxp"));
}

TEST_F(DefaultFileNameTest, PrefixFollowsTheCatalogue)
{
    catalogue.setText(Msg::DefaultFilePrefix, "SzTab");
    dir.write("SzTab1.zxp", "x");
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), dir.file("SzTab2.zxp"));
}

TEST_F(DefaultFileNameTest, FolderOfThatNameIsTaken)
{
    QDir(dir.path()).mkdir("Swprg1.zxp");
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), dir.file("Swprg2.zxp"));
}

TEST_F(DefaultFileNameTest, AllTakenGivesEmptyNameAndCriticalMessage)
{
    for (int i = 1; i <= 998; ++i)
        dir.write(QStringLiteral("Swprg%1.zxp").arg(i), "");
    EXPECT_FALSE(NextFreeDefaultFileName(dir.path(), catalogue).has_value());
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), QString());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), "Save your existing files with an other name than Swprgxxx.zxp");
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);

    // Number 999 is beyond the range and does not help.
    dir.write("Swprg999.zxp", "");
    QFile::remove(dir.file("Swprg998.zxp"));
    EXPECT_EQ(DefaultFileName(dir.path(), catalogue, prompter), dir.file("Swprg998.zxp"));
}

// A file name must survive the trip to the file system and back: no control character, no DEL,
// no lone half of a surrogate pair; letters of any script are fine.
TEST(UncarriableFileName, NamesTheFirstCharacterThatCannotBeCarried)
{
    const struct {
        QString name;
        std::optional<QChar> refused;
    } cases[] = {
        {QStringLiteral("Büro Łódź 東京.zxp"), std::nullopt},
        {QStringLiteral("a\tb.zxp"), QChar(u'\t')},
        {QStringLiteral("a\x7f"
                        "b.zxp"),
         QChar(u'\x7f')},
        {QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b.zxp"), QChar(0xD800)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UncarriableFileNameCharacter(c.name), c.refused) << c.name.toStdString();
}
