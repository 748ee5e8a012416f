#include "app/InstallPaths.h"

#include "model/BrandTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zx {

QString installedDataDir()
{
#ifdef ZX_DATADIR_FROM_BINDIR
    const QDir dir(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(ZX_DATADIR_FROM_BINDIR)));
    if (QFileInfo::exists(dir.filePath(BrandFileName())))
        return dir.canonicalPath();
#endif
    return {};
}

QString userWorkDir()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("zentrix"));
}

bool prepareWorkDir(const QString &defaults, const QString &workDir, QString *error)
{
    const QDir target(workDir);
    if (!target.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot create %1").arg(workDir);
        return false;
    }
    const QDir source(defaults);
    QDirIterator it(defaults, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        const QString to = target.filePath(relative);
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        if (!target.mkpath(QFileInfo(relative).path())) {
            *error = QStringLiteral("cannot create %1").arg(QFileInfo(to).path());
            return false;
        }
        QFile file(from);
        if (!file.copy(to)) {
            *error = QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, file.errorString());
            return false;
        }
        // The installed files are read-only; the user's copies are the user's to change.
        QFile::setPermissions(to, QFile::permissions(to) | QFile::WriteOwner | QFile::ReadOwner);
    }
    return true;
}

QString ResolveWorkDir(const QString &option, QString *error)
{
    if (!option.isEmpty())
        return option;
    const QString fromEnvironment = qEnvironmentVariable("ZENTRIX_WORKDIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString defaults = installedDataDir();
    if (defaults.isEmpty())
        return QDir::currentPath();
    const QString dir = userWorkDir();
    if (!prepareWorkDir(defaults, dir, error))
        return {};
    return dir;
}

} // namespace zx
