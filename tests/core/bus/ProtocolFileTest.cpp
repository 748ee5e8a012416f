#include "bus/ProtocolFile.h"

#include "support/FileLimits.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

// Every operation starts its protocol afresh, so an old one never passes for the last run.
TEST(ProtocolFile, StartsEmptyAndKeepsEveryLine)
{
    const TempDir dir;
    dir.write(QLatin1String(ProtocolFile::FileName), "earlier operation\r\n");
    ProtocolFile protocol;
    ASSERT_TRUE(protocol.recreate(dir.path()));
    protocol.line(QStringLiteral("install AST"));
    protocol.close();
    EXPECT_EQ(dir.read(QLatin1String(ProtocolFile::FileName)), QByteArray("install AST\r\n"));
    EXPECT_FALSE(protocol.failed());

    // In a folder where the user may write the protocol but not remove it, it is emptied.
    QFile::setPermissions(dir.file(QLatin1String(ProtocolFile::FileName)),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther |
                              QFileDevice::WriteOther);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther);
    {
        const WithoutRootPrivileges user;
        ASSERT_TRUE(user.effective());
        ASSERT_TRUE(protocol.recreate(dir.path()));
        protocol.line(QStringLiteral("search"));
        protocol.close();
    }
    EXPECT_EQ(dir.read(QLatin1String(ProtocolFile::FileName)), QByteArray("search\r\n"));
}

TEST(ProtocolFile, ProtocolThatCannotBeWrittenIsReported)
{
    const TempDir dir;
    ProtocolFile protocol;
    QString error;
    EXPECT_FALSE(protocol.recreate(dir.file(QStringLiteral("none")), &error));
    EXPECT_TRUE(protocol.failed());
    EXPECT_FALSE(protocol.isOpen());
    EXPECT_TRUE(error.startsWith(protocol.path() + QStringLiteral(": "))) << error.toStdString();
    EXPECT_GT(error.size(), protocol.path().size() + 2);
    protocol.line(QStringLiteral("nothing to write to"));

    ASSERT_TRUE(protocol.recreate(dir.path()));
    EXPECT_FALSE(protocol.failed());
    const FileSizeLimit limit(4);
    protocol.line(QStringLiteral("longer than the disk holds"));
    EXPECT_TRUE(protocol.failed());
}

} // namespace
} // namespace zx::test
