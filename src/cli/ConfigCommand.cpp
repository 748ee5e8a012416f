// zentrix-cli config: prints the 18 values of zentrix.ini as the program reads them.
#include "Commands.h"

#include "app/ConfigFile.h"
#include "model/Model.h"

#include <algorithm>

#include <QDir>

namespace zx::cli {

static const char *configUsage = "zentrix-cli config [--workdir DIR]";

int runConfig(const QStringList &args)
{
    QString dir = QDir::currentPath();
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--workdir") && i + 1 < args.size())
            dir = args[++i];
        else
            return usageError(configUsage);
    }
    const QString path = QDir(dir).filePath(ConfigFileName());
    const ConfigReadResult r = ReadConfigValues(path);
    switch (r.status) {
    case ConfigStatus::Missing:
        std::fprintf(stderr,
                     "zentrix-cli: %s does not exist (the program starts with the defaults of "
                     "the brand's first model)\n",
                     qPrintable(QDir::toNativeSeparators(path)));
        return 1;
    case ConfigStatus::Short:
        std::fprintf(stderr,
                     "zentrix-cli: %s has %d of 18 lines (the program starts with the defaults "
                     "of the brand's first model)\n",
                     qPrintable(QDir::toNativeSeparators(path)), r.lineCount);
        return 1;
    case ConfigStatus::Error:
        std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(QDir::toNativeSeparators(path)),
                     qPrintable(r.errorText));
        return 1;
    case ConfigStatus::Read:
        break;
    }
    const auto &keys = ConfigKeys();
    Model model;
    std::vector<int> replaced;
    const ConfigValues used = ConfigValuesInRange(model, r.values, &replaced);
    for (int i = 0; i < ConfigLines; ++i) {
        const bool fellBack = std::find(replaced.begin(), replaced.end(), i) != replaced.end();
        if (fellBack)
            std::printf("%s=%d (read %d: out of range, the default is used)\n", keys[i].name, used[i],
                        r.values[i]);
        else
            std::printf("%s=%d\n", keys[i].name, used[i]);
    }
    return 0;
}

} // namespace zx::cli
