#include "i18n/Catalogue.h"

#include <gtest/gtest.h>

using namespace zx;

TEST(CatalogueEnglish, KeepsBlanksAndTitle)
{
    Catalogue c;
    c.fillBuiltin(English, 1);
    EXPECT_EQ(c(Msg::FilePrefix), "File ");
    EXPECT_EQ(c(Msg::AlreadyExistsOverwrite), " already exists! Overwrite ?");
    EXPECT_EQ(c(Msg::AbbrMonday), " mo");
    EXPECT_EQ(c(Msg::IllegalFile), "Illegal File !");
    EXPECT_EQ(c(Msg::MenuHelpFor), "&Help for Zentrix 2.0");
    EXPECT_EQ(c.productTitle, "Zentrix 2.0");
    EXPECT_EQ(c.versionText, " Version  2.0-02");
    EXPECT_EQ(c.helpFile, "Zentri2E.hlp");
}

TEST(CatalogueEnglish, Brand5SpeaksOfTheMemoryChip)
{
    Catalogue c;
    c.fillBuiltin(English, 5);
    EXPECT_EQ(c(Msg::MenuProgramDevice), "Program memory chip");
    EXPECT_EQ(c(Msg::MenuReadDevice), "&Read memory chip");
    EXPECT_EQ(c.productTitle, "Chipwerk 2.0");
    c.fillBuiltin(English, 1);
    EXPECT_EQ(c(Msg::MenuProgramDevice), "Program zentrix");
}
