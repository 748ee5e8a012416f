#include "app/InstallPaths.h"

#include "support/FileLimits.h"
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
    EXPECT_EQ(error, "cannot create " + home.file("blocker/zentrix"));

    // a folder of the defaults where the working directory has a file of that name
    QDir(defaults.path()).mkpath("help");
    defaults.write("help/index.html", "<p>help</p>");
    QDir(home.path()).mkpath("work");
    home.write("work/help", "a file, not a folder");
    EXPECT_FALSE(prepareWorkDir(defaults.path(), home.file("work"), &error));
    EXPECT_EQ(error, "cannot create " + home.file("work/help"));
    EXPECT_EQ(home.read("work/help"), "a file, not a folder");
}

// A working directory the user may not write: the copy fails and says which file.
TEST(InstallPathsTest, PrepareWorkDirReportsAFileItCannotCopy)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    test::TempDir defaults, home;
    defaults.write("zentrix.sys", "NRV");
    QDir(home.path()).mkpath("work");
    ASSERT_TRUE(QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(defaults.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther |
                                                           QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(defaults.file("zentrix.sys"), QFile::ReadOwner | QFile::ReadOther));
    QString error;
    bool ok = true;
    {
        const test::WithoutRootPrivileges user;
        ASSERT_TRUE(user.effective());
        ok = prepareWorkDir(defaults.path(), home.file("work"), &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.startsWith("cannot copy " + defaults.file("zentrix.sys"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(home.file("work/zentrix.sys")));
}
