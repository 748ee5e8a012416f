// zentrix-cli config: prints the 18 values of zentrix.ini as the program reads them, or the
// defaults it starts with when the file is missing or short.
#include "CliTexts.h"
#include "Commands.h"

#include "app/ConfigFile.h"
#include "model/BrandTable.h"
#include "model/Model.h"

#include <QDir>

#include <algorithm>

namespace zx::cli {

int runConfig(Options &o)
{
    if (!o.expectArguments({}))
        return 2;
    const QString dir = workDir(o);
    if (dir.isEmpty())
        return 1;
    const QString path = QDir(dir).filePath(ConfigFileName());
    const ConfigReadResult r = ReadConfigValues(path);
    if (r.status == ConfigStatus::Error)
        return fail(path, r.errorText);

    Model model;
    const int brand = ReadBrandFile(QDir(dir).filePath(BrandFileName()));
    model.BrandNumber = brand == 0 ? 1 : brand;
    const auto &keys = ConfigKeys();
    if (r.status != ConfigStatus::Read) {
        // what a start would use: the properties of the brand's first model
        note(o, r.status == ConfigStatus::Missing
                    ? cliText(CliText::ConfigMissing, o.language()).arg(QDir::toNativeSeparators(path))
                    : cliText(CliText::ConfigShort, o.language())
                          .arg(QDir::toNativeSeparators(path))
                          .arg(r.lineCount));
        ApplyConfigDefaults(model);
        const ConfigValues defaults = ConfigValuesOf(model);
        for (int i = 0; i < ConfigLines; ++i)
            printLine(QStringLiteral("%1=%2").arg(QLatin1String(keys[i].name)).arg(defaults[i]));
        return 0;
    }
    std::vector<int> replaced;
    const ConfigValues used = ConfigValuesInRange(model, r.values, &replaced);
    for (int i = 0; i < ConfigLines; ++i) {
        const bool fellBack = std::find(replaced.begin(), replaced.end(), i) != replaced.end();
        if (fellBack)
            printLine(QStringLiteral("%1=%2 (read %3: out of range, the default is used)")
                          .arg(QLatin1String(keys[i].name))
                          .arg(used[i])
                          .arg(r.values[i]));
        else
            printLine(QStringLiteral("%1=%2").arg(QLatin1String(keys[i].name)).arg(used[i]));
    }
    return 0;
}

} // namespace zx::cli
