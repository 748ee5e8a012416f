#pragma once

#include <QString>
#include <QStringList>

namespace zx {

// Starts an external program without waiting for it (the chip tool, the sibling tool).
class ToolLauncher {
  public:
    virtual ~ToolLauncher() = default;
    // False with the system's error text when the program could not be started.
    virtual bool start(const QString &program, const QStringList &arguments, const QString &workingDirectory,
                       QString *error) = 0;
};

} // namespace zx
