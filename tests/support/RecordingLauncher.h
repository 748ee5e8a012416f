#pragma once

#include "platform/ToolLauncher.h"

#include <QStringList>

#include <functional>

namespace zx::test {

// A tool launcher that starts nothing: it records each request, can be told to fail, and can
// play the tool's part (write the files the tool would leave) through `onStart`.
class RecordingLauncher : public ToolLauncher {
  public:
    bool start(const QString &program, const QStringList &arguments, const QString &workingDirectory,
               QString *error) override
    {
        started << program;
        lastArguments = arguments;
        dir = workingDirectory;
        if (fail) {
            if (error)
                *error = failText;
            return false;
        }
        if (onStart)
            onStart(workingDirectory);
        return true;
    }

    QStringList started;
    QStringList lastArguments;
    QString dir;
    bool fail = false;
    QString failText = QStringLiteral("Permission denied");
    std::function<void(const QString &dir)> onStart;
};

} // namespace zx::test
