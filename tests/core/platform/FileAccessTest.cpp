#include "platform/FileAccess.h"

#include "app/ConfigFile.h"
#include "i18n/Catalogue.h"
#include "model/Model.h"
#include "platform/ComPortMap.h"
#include "platform/SystemReasons.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"
#include "transfer/DeviceTransfer.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace zx {
namespace {

const QString TooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));

// One writer of a whole file: writes `name` in `dir`, returns success and the error text.
struct WriterCase {
    const char *kind;
    const char *name;
    std::function<bool(const QString &dir, QString *error)> write;
};

void PrintTo(const WriterCase &c, std::ostream *os)
{
    *os << c.kind;
}

class WholeFileWriterTest : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WholeFileWriterTest, FailsUnderAFileSizeLimitAndKeepsTheOldFile)
{
    const test::TempDir dir;
    const WriterCase &c = GetParam();
    dir.write(QLatin1String(c.name), "old\r\n");
    bool ok = true;
    QString error;
    {
        const test::FileSizeLimit limit(20);
        ASSERT_TRUE(limit.active());
        ok = c.write(dir.path(), &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(error.contains(TooLarge)) << error.toStdString();
    EXPECT_EQ(dir.read(QLatin1String(c.name)), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QLatin1String(c.name)})
        << "no temporary copy stays";
    // and without the limit the same writer succeeds
    EXPECT_TRUE(c.write(dir.path(), &error)) << error.toStdString();
    EXPECT_GT(dir.read(QLatin1String(c.name)).size(), 20);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, WholeFileWriterTest,
    ::testing::Values(WriterCase{"configuration", "zentrix.ini",
                                 [](const QString &dir, QString *error) {
                                     return WriteConfigFile(Model(), dir + QStringLiteral("/zentrix.ini"),
                                                            error);
                                 }},
                      WriterCase{"language", "speech.txt",
                                 [](const QString &dir, QString *error) {
                                     Catalogue c;
                                     c.fillBuiltin(German, 0);
                                     return c.writeLanguageFile(dir + QStringLiteral("/speech.txt"), error);
                                 }},
                      WriterCase{"transfer request", "zentrix.msg",
                                 [](const QString &dir, QString *error) {
                                     const QByteArray text = DeviceTransfer::RequestText(
                                         Model(), QStringLiteral("l"), dir + QStringLiteral("/card.zxp"));
                                     return DeviceTransfer::WriteRequestFile(dir, text, error);
                                 }},
                      WriterCase{"port choice", "comports.ini",
                                 [](const QString &dir, QString *error) {
                                     ComPortMap ports(dir);
                                     ports.setDevice(1, QStringLiteral("/dev/ttyUSB0"));
                                     return ports.save(error);
                                 }},
                      WriterCase{"any content", "plain.txt", [](const QString &dir, QString *error) {
                                     return WriteFileAtomically(dir + QStringLiteral("/plain.txt"),
                                                                QByteArray(500, 'x'), error);
                                 }}));

// In a shared folder with the sticky bit (as /tmp) a user may write a file of someone else's
// that is open to all, but not replace it: the temporary copy is written, the final rename is
// refused, and the writer says so and leaves the file as it was.
TEST(AtomicWrite, ARefusedReplaceFailsAndKeepsTheOldFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const test::TempDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
    const QString path = dir.file(QStringLiteral("shared.txt"));
    dir.write(QStringLiteral("shared.txt"), "old\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    bool ok = true;
    QString error;
    {
        const test::WithoutRootPrivileges user;
        ASSERT_TRUE(user.effective());
        ok = WriteFileAtomically(path, "new\r\n", &error);
    }
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("shared.txt")), QByteArray("old\r\n"));
}

// A file of a shared folder's group, replaced by a member of that group who may not give files
// away: the new file keeps the group, so the others of the group can still write it.
TEST(AtomicWrite, AReplacedFileKeepsItsGroupWhereTheOwnerCannotBeKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    constexpr gid_t SharedGroup = 4242;
    const test::TempDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString path = dir.file(QStringLiteral("shared.zxp"));
    const QByteArray native = QFile::encodeName(path);
    dir.write(QStringLiteral("shared.zxp"), "old\r\n");
    ASSERT_EQ(::chown(native.constData(), 0, SharedGroup), 0);
    ASSERT_EQ(::chmod(native.constData(), 0664), 0);
    bool ok = false;
    QString error;
    {
        const test::WithoutRootPrivileges member(SharedGroup);
        ASSERT_TRUE(member.effective());
        ok = WriteFileAtomically(path, "new\r\n", &error);
    }
    ASSERT_TRUE(ok) << error.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_gid, SharedGroup);
    EXPECT_EQ(st.st_mode & 07777, 0664U);
    EXPECT_EQ(dir.read(QStringLiteral("shared.zxp")), QByteArray("new\r\n"));
}

TEST(AppendCheckedTest, TheWriteThatCrossesAFileSizeLimitFails)
{
    const test::TempDir dir;
    QFile file(dir.file(QStringLiteral("export.txt")));
    QString error;
    ASSERT_TRUE(OpenForAppending(file, true, &error)) << error.toStdString();
    const test::FileSizeLimit limit(20);
    EXPECT_TRUE(AppendChecked(file, "0123456789\r\n", &error));
    EXPECT_FALSE(AppendChecked(file, "0123456789\r\n", &error));
    EXPECT_TRUE(error.contains(TooLarge)) << error.toStdString();

    // Only a plain file appends in place; a file that is written whole is refused, not left
    // unopened behind an answer of success.
    QSaveFile whole(dir.file(QStringLiteral("whole.txt")));
    EXPECT_FALSE(OpenForAppending(whole, false, &error));
    EXPECT_FALSE(whole.isOpen());
}

// An appending writer (protocol log, text export) starts either on an emptied file or after
// what is there; an open that fails says so and why.
struct AppendOpenCase {
    const char *what;
    const char *target; // in the scratch folder; "" is the folder itself
    bool truncate;
    bool opens;
    QByteArray after; // the file after writing "new"
};

void PrintTo(const AppendOpenCase &c, std::ostream *os)
{
    *os << c.what;
}

class OpenForAppendingTest : public ::testing::TestWithParam<AppendOpenCase> {};

TEST_P(OpenForAppendingTest, OpensOrSaysWhy)
{
    const AppendOpenCase &c = GetParam();
    const test::TempDir dir;
    dir.write(QStringLiteral("log.txt"), "old ");
    QFile file(*c.target ? dir.file(QLatin1String(c.target)) : dir.path());
    QString error;
    EXPECT_EQ(OpenForAppending(file, c.truncate, &error), c.opens);
    EXPECT_EQ(error.isEmpty(), c.opens) << error.toStdString();
    if (!c.opens)
        return;
    EXPECT_TRUE(AppendChecked(file, "new", &error)) << error.toStdString();
    file.close();
    EXPECT_EQ(dir.read(QLatin1String(c.target)), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, OpenForAppendingTest,
    ::testing::Values(AppendOpenCase{"appends to a file", "log.txt", false, true, "old new"},
                      AppendOpenCase{"empties a file", "log.txt", true, true, "new"},
                      AppendOpenCase{"creates a file", "fresh.txt", false, true, "new"},
                      AppendOpenCase{"folder", "", false, false, ""},
                      AppendOpenCase{"emptied folder", "", true, false, ""},
                      AppendOpenCase{"missing folder", "none/log.txt", false, false, ""}));

struct ReadCase {
    const char *what;
    std::function<QString(const test::TempDir &)> make; // returns the path to read
    ReadStatus status;
    bool hasError;
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.what;
}

class ReadRegularFileTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRegularFileTest, ReadsRegularFilesOnly)
{
    const test::TempDir dir;
    const ReadCase &c = GetParam();
    const QString path = c.make(dir);
    FileContent read;
    {
        // root reads any file: the read runs as an ordinary user (the temporary directory is
        // opened for it)
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                              QFileDevice::ReadOther);
        const test::WithoutRootPrivileges user;
        ASSERT_TRUE(user.effective());
        read = ReadRegularFile(path, 100);
    }
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(!read.error.isEmpty(), c.hasError) << read.error.toStdString();
    if (c.status == ReadStatus::Read) {
        EXPECT_EQ(read.content, QByteArray("abc"));
    }
}

QString writable(const test::TempDir &dir, const char *name, const QByteArray &content,
                 QFileDevice::Permissions p)
{
    dir.write(QLatin1String(name), content);
    QFile::setPermissions(dir.file(QLatin1String(name)), p);
    return dir.file(QLatin1String(name));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReadRegularFileTest,
    ::testing::Values(
        ReadCase{"regular",
                 [](const test::TempDir &d) { return writable(d, "a.txt", "abc", QFileDevice::ReadOther); },
                 ReadStatus::Read, false},
        ReadCase{"missing", [](const test::TempDir &d) { return d.file(QStringLiteral("none.txt")); },
                 ReadStatus::Missing, true},
        ReadCase{"directory", [](const test::TempDir &d) { return d.path(); }, ReadStatus::Unreadable, true},
        ReadCase{"fifo",
                 [](const test::TempDir &d) {
                     const QString path = d.file(QStringLiteral("pipe"));
                     ::mkfifo(QFile::encodeName(path).constData(), 0666);
                     return path;
                 },
                 ReadStatus::Unreadable, true},
        ReadCase{"unreadable", [](const test::TempDir &d) { return writable(d, "b.txt", "abc", {}); },
                 ReadStatus::Unreadable, true},
        ReadCase{"too large",
                 [](const test::TempDir &d) {
                     return writable(d, "c.txt", QByteArray(101, 'x'), QFileDevice::ReadOther);
                 },
                 ReadStatus::TooLarge, false}));

} // namespace
} // namespace zx

// ----- what a writer may replace ------------------------------------------------------------

namespace zx {
namespace {

// A target a writer meets: what is there, whether the write goes through, and what must be
// true of the path afterwards.
struct TargetCase {
    const char *what;
    std::function<QString(const test::TempDir &)> make;
    bool written;
    std::function<void(const test::TempDir &, const QString &)> after;
};

void PrintTo(const TargetCase &c, std::ostream *os)
{
    *os << c.what;
}

class WriteTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(WriteTargetTest, OnlyRegularFilesAreReplaced)
{
    const TargetCase &c = GetParam();
    for (const bool appending : {false, true}) {
        const test::TempDir dir;
        const QString path = c.make(dir);
        QString error;
        bool ok = false;
        if (appending) {
            QFile file(path);
            ok = OpenForAppending(file, true, &error) && AppendChecked(file, "new", &error);
        } else {
            ok = WriteFileAtomically(path, "new", &error);
        }
        EXPECT_EQ(ok, c.written) << (appending ? "append: " : "replace: ") << error.toStdString();
        EXPECT_EQ(error.isEmpty(), c.written) << error.toStdString();
        // a pipe is named as what it is, not by the error its open would give
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode)) {
            EXPECT_TRUE(error.contains(OwnReasonText(OwnReason::NotRegularFile, ReasonsInEnglish)))
                << error.toStdString();
        }
        c.after(dir, path);
    }
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Links l1..lN, each to the one before it, the first to end.zxp ("old"); the path of the last.
QString linkChain(const test::TempDir &d, int links)
{
    d.write(QStringLiteral("end.zxp"), "old");
    QString next = QStringLiteral("end.zxp");
    for (int i = 1; i <= links; ++i) {
        const QString name = QStringLiteral("l%1").arg(i);
        QFile::link(next, d.file(name));
        next = name;
    }
    return d.file(next);
}

void expectChainKept(const test::TempDir &d, int links, const QByteArray &end)
{
    EXPECT_EQ(d.read(QStringLiteral("end.zxp")), end);
    for (int i = 1; i <= links; ++i)
        EXPECT_TRUE(S_ISLNK(statOf(d.file(QStringLiteral("l%1").arg(i))).st_mode)) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Targets, WriteTargetTest,
    ::testing::Values(
        TargetCase{"fifo",
                   [](const test::TempDir &d) {
                       const QString p = d.file(QStringLiteral("pipe"));
                       ::mkfifo(QFile::encodeName(p).constData(), 0666);
                       return p;
                   },
                   false,
                   [](const test::TempDir &, const QString &p) { EXPECT_TRUE(S_ISFIFO(statOf(p).st_mode)); }},
        TargetCase{"directory", [](const test::TempDir &d) { return d.path(); }, false,
                   [](const test::TempDir &, const QString &p) { EXPECT_TRUE(S_ISDIR(statOf(p).st_mode)); }},
        TargetCase{
            "read-only file",
            [](const test::TempDir &d) { return writable(d, "ro.zxp", "old", QFileDevice::ReadOwner); },
            false,
            [](const test::TempDir &d, const QString &) {
                EXPECT_EQ(d.read(QStringLiteral("ro.zxp")), "old");
            }},
        TargetCase{"symbolic link to a file",
                   [](const test::TempDir &d) {
                       d.write(QStringLiteral("target.zxp"), "old");
                       QFile::link(d.file(QStringLiteral("target.zxp")), d.file(QStringLiteral("link.zxp")));
                       return d.file(QStringLiteral("link.zxp"));
                   },
                   true,
                   [](const test::TempDir &d, const QString &p) {
                       EXPECT_TRUE(S_ISLNK(statOf(p).st_mode)) << "the link stays a link";
                       EXPECT_EQ(d.read(QStringLiteral("target.zxp")), "new");
                   }},
        // The system gives up after 40 links; a writer that went on would put a file in place
        // of a link and say it wrote.
        TargetCase{"loop of links",
                   [](const test::TempDir &d) {
                       QFile::link(QStringLiteral("b.zxp"), d.file(QStringLiteral("a.zxp")));
                       QFile::link(QStringLiteral("a.zxp"), d.file(QStringLiteral("b.zxp")));
                       return d.file(QStringLiteral("a.zxp"));
                   },
                   false,
                   [](const test::TempDir &d, const QString &p) {
                       EXPECT_TRUE(S_ISLNK(statOf(p).st_mode));
                       EXPECT_TRUE(S_ISLNK(statOf(d.file(QStringLiteral("b.zxp"))).st_mode));
                   }},
        TargetCase{"chain of 40 links", [](const test::TempDir &d) { return linkChain(d, 40); }, true,
                   [](const test::TempDir &d, const QString &) { expectChainKept(d, 40, "new"); }},
        TargetCase{"chain of 41 links", [](const test::TempDir &d) { return linkChain(d, 41); }, false,
                   [](const test::TempDir &d, const QString &) { expectChainKept(d, 41, "old"); }},
        TargetCase{"file with its own mode",
                   [](const test::TempDir &d) {
                       const QString p = writable(d, "mode.zxp", "old",
                                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ReadGroup);
                       return p;
                   },
                   true,
                   [](const test::TempDir &, const QString &p) {
                       EXPECT_EQ(statOf(p).st_mode & 0777, 0640u);
                       EXPECT_EQ(QFile(p).size(), 3);
                   }}));

TEST(WriteTargetTest, ADeviceNodeIsRefusedAndStaysOne)
{
    const test::TempDir dir;
    const QString node = dir.file(QStringLiteral("null"));
    // a node of our own (the null device's numbers) in the scratch folder; only root may make one
    if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device node needs root";
    QString error;
    EXPECT_FALSE(WriteFileAtomically(node, "new", &error));
    EXPECT_EQ(error, QStringLiteral("Not a regular file"));
    QFile appended(node);
    EXPECT_FALSE(OpenForAppending(appended, false, &error));
    EXPECT_FALSE(appended.isOpen());
    EXPECT_EQ(error, QStringLiteral("Not a regular file"));
    EXPECT_TRUE(S_ISCHR(statOf(node).st_mode));
}

TEST(FileLockTest, ASecondLockWaitsUntilTheFirstIsGone)
{
    const test::TempDir dir;
    const QString path = dir.file(QStringLiteral("p.zxp"));
    QString error;
    auto first = std::make_unique<FileLock>(path);
    ASSERT_TRUE(first->lock(0, &error)) << error.toStdString();
    FileLock second(path);
    EXPECT_FALSE(second.lock(50, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("in use"))) << error.toStdString();
    first.reset();
    EXPECT_TRUE(second.lock(0, &error)) << error.toStdString();
}

} // namespace
} // namespace zx

// ----- durability, and what killed writers leave behind -------------------------------------

namespace zx {
namespace {

int filesSynced = 0;
int foldersSynced = 0;

bool isFolder(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

int countingSync(int fd)
{
    ++(isFolder(fd) ? foldersSynced : filesSynced);
    return ::fsync(fd);
}
// A disk that reports an I/O error when the file's data, or the folder, is made durable.
int failingFileSync(int fd)
{
    if (isFolder(fd))
        return ::fsync(fd);
    errno = EIO;
    return -1;
}
int failingFolderSync(int fd)
{
    if (!isFolder(fd))
        return ::fsync(fd);
    errno = EIO;
    return -1;
}

class SyncAndTempHooks {
  public:
    SyncAndTempHooks(SyncCall call, bool unnamed) : before_(SetSyncCallForTesting(call))
    {
        SetUnnamedTempFilesForTesting(unnamed);
    }
    ~SyncAndTempHooks()
    {
        SetSyncCallForTesting(before_);
        SetUnnamedTempFilesForTesting(true);
    }
    SyncAndTempHooks(const SyncAndTempHooks &) = delete;
    SyncAndTempHooks &operator=(const SyncAndTempHooks &) = delete;

  private:
    SyncCall before_;
};

QStringList entries(const test::TempDir &dir)
{
    QStringList names =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

struct SyncCase {
    const char *what;
    SyncCall sync;
    bool written;
    QByteArray after;
};

void PrintTo(const SyncCase &c, std::ostream *os)
{
    *os << c.what;
}

class AtomicWriteSyncTest : public ::testing::TestWithParam<SyncCase> {};

// The file's data is synced before the rename and the folder after it, with and without unnamed
// temporary files; a sync the disk refuses is a failed save that leaves no copy behind.
TEST_P(AtomicWriteSyncTest, ASaveIsDurableOrFails)
{
    const SyncCase &c = GetParam();
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed copy" : "named copy");
        const test::TempDir dir;
        dir.write(QStringLiteral("p.zxp"), "old");
        filesSynced = foldersSynced = 0;
        bool ok = false;
        QString error;
        {
            const SyncAndTempHooks hooks(c.sync, unnamed);
            ok = WriteFileAtomically(dir.file(QStringLiteral("p.zxp")), "new", &error);
        }
        EXPECT_EQ(ok, c.written) << error.toStdString();
        EXPECT_EQ(error.contains(QString::fromLocal8Bit(std::strerror(EIO))), !c.written)
            << error.toStdString();
        EXPECT_EQ(dir.read(QStringLiteral("p.zxp")), c.after);
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("p.zxp")});
        if (c.sync == countingSync) {
            EXPECT_EQ(filesSynced, 1);
            EXPECT_EQ(foldersSynced, 1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Syncs, AtomicWriteSyncTest,
    ::testing::Values(SyncCase{"both synced", countingSync, true, "new"},
                      SyncCase{"file sync fails: the old file stays", failingFileSync, false, "old"},
                      // the new name may not survive a power cut: not saved, though it is in place
                      SyncCase{"folder sync fails", failingFolderSync, false, "new"}));

// Copies of killed writers on a file system without unnamed files, and lock files the stale-lock
// clean-up of a killed process left: the next write of that file removes them, and nothing else.
TEST(AtomicWriteLeftovers, TheNextWriteRemovesOnlyAbandonedCopiesAndLocksOfItsFile)
{
    const test::TempDir dir;
    dir.write(QStringLiteral("p.zxp"), "old");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray dead = "2147483000\nzentrix\n" + host + "\n";
    const QByteArray alive = QByteArray::number(::getpid()) + "\nzentrix\n" + host + "\n";
    const QStringList removed = {QStringLiteral(".p.zxp.zxsave-Ab12Cd"), QStringLiteral(".p.zxp.lock.rmlock"),
                                 QStringLiteral(".p.zxp.lock.rmlock.rmlock")};
    for (const QString &name : removed)
        dir.write(name, name.contains(QStringLiteral("lock")) ? dead : QByteArray("half a program"));
    const QStringList kept = {
        QStringLiteral("p.zxp.backup"),                     // the user's
        QStringLiteral("p.zxp.AbCdEf"),                     // a name of the user's, whoever made it
        QStringLiteral(".p.zxp.zxsave-Ab12C"),              // not our pattern
        QStringLiteral(".q.zxp.zxsave-Ab12Cd"),             // another file's copy
        QStringLiteral(".p.zxp.zxsave-Held00"),             // a writer at work holds it
        QStringLiteral(".p.zxp.lock.rmlock.rmlock.rmlock"), // a living process's
        QStringLiteral(".p.zxp.lock.rmlockx"),              // not our pattern
    };
    for (const QString &name : kept)
        dir.write(name, name.contains(QStringLiteral("rmlock.rmlock.rmlock")) ? alive : dead);
    QDir(dir.path()).mkdir(QStringLiteral(".p.zxp.zxsave-Dir000"));
    QFile::link(QStringLiteral("p.zxp.backup"), dir.file(QStringLiteral(".p.zxp.zxsave-Link00")));
    const int held = ::open(QFile::encodeName(dir.file(QStringLiteral(".p.zxp.zxsave-Held00"))).constData(),
                            O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    QString error;
    {
        const SyncAndTempHooks hooks(nullptr, false);
        ASSERT_TRUE(WriteFileAtomically(dir.file(QStringLiteral("p.zxp")), "new", &error))
            << error.toStdString();
    }
    ::close(held);
    QStringList expected = kept + QStringList{QStringLiteral("p.zxp"), QStringLiteral(".p.zxp.zxsave-Dir000"),
                                              QStringLiteral(".p.zxp.zxsave-Link00")};
    expected.sort();
    EXPECT_EQ(entries(dir), expected);
    EXPECT_EQ(dir.read(QStringLiteral("p.zxp")), "new");
}

} // namespace
} // namespace zx
