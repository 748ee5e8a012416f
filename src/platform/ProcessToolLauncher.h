#pragma once

#include "platform/ToolLauncher.h"

namespace zx {

// Starts the program detached with QProcess.
class ProcessToolLauncher final : public ToolLauncher {
  public:
    bool start(const QString &program, const QStringList &arguments, const QString &workingDirectory,
               QString *error) override;
};

} // namespace zx
