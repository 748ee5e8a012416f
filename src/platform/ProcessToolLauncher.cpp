#include "platform/ProcessToolLauncher.h"

#include <QProcess>

namespace zx {

bool ProcessToolLauncher::start(const QString &program, const QStringList &arguments,
                                const QString &workingDirectory, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        if (error)
            *error = process.errorString();
        return false;
    }
    return true;
}

} // namespace zx
