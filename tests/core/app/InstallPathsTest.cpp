#include "app/InstallPaths.h"

#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace zx;

// First start and every later one: missing defaults arrive, the user's files stay as they are.
TEST(InstallPathsTest, PrepareWorkDirCopiesOnlyWhatIsMissing)
{
    test::TempDir defaults, home;
    defaults.write("zentrix.sys", "NRV");
    defaults.write("english.hdy", "defaults");
    QDir(defaults.path()).mkpath("help");
    defaults.write("help/index.html", "<p>help</p>");
    QFile::setPermissions(defaults.file("zentrix.sys"),
                          QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString work = home.file("share/zentrix");
    QDir().mkpath(work);
    QFile mine(work + "/english.hdy");
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("user's own");
    mine.close();

    QString error;
    for (int start = 0; start < 2; ++start) {
        ASSERT_TRUE(prepareWorkDir(defaults.path(), work, &error)) << error.toStdString();
        EXPECT_EQ(home.read("share/zentrix/english.hdy"), "user's own");
        EXPECT_EQ(home.read("share/zentrix/zentrix.sys"), "NRV");
        EXPECT_EQ(home.read("share/zentrix/help/index.html"), "<p>help</p>");
        // A copy of a read-only installed file is the user's to change.
        EXPECT_TRUE(QFile::permissions(work + "/zentrix.sys") & QFile::WriteOwner);
    }
}

TEST(InstallPathsTest, PrepareWorkDirReportsAFolderItCannotMake)
{
    test::TempDir defaults, home;
    defaults.write("zentrix.sys", "NRV");
    home.write("blocker", "a file, not a folder");
    QString error;
    EXPECT_FALSE(prepareWorkDir(defaults.path(), home.file("blocker/zentrix"), &error));
    EXPECT_FALSE(error.isEmpty());
}
