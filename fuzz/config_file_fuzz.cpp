// libFuzzer target: arbitrary bytes as zentrix.ini. Reading never fails on content; values read
// fit the width the reader takes. Applying them replaces each value outside its range by the
// model's default; writing and reading the file again gives back every value that was written
// and every value read in range (a minus sign may fall outside the width: -1 reads back as 1).
#include "app/ConfigFile.h"
#include "model/Model.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const QString path = dir.filePath(QStringLiteral("zentrix.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }

    const zx::ConfigReadResult first = zx::ReadConfigValues(path);
    if (first.status == zx::ConfigStatus::Missing || first.status == zx::ConfigStatus::Error)
        std::abort();
    if (first.status == zx::ConfigStatus::Short) {
        if (first.lineCount >= zx::ConfigLines)
            std::abort();
        return 0;
    }
    const auto &keys = zx::ConfigKeys();
    for (int i = 0; i < zx::ConfigLines; ++i) {
        int limit = 1;
        for (int w = 0; w < keys[i].width; ++w)
            limit *= 10;
        if (first.values[i] <= -limit || first.values[i] >= limit)
            std::abort();
    }

    zx::Model model;
    zx::ApplyConfigValues(model, first.values);
    if (!zx::WriteConfigFile(model, path))
        std::abort();
    const zx::ConfigReadResult again = zx::ReadConfigValues(path);
    if (again.status != zx::ConfigStatus::Read)
        std::abort();
    const zx::ConfigValues written = zx::ConfigValuesOf(model);
    for (int i = 0; i < zx::ConfigLines; ++i) {
        if (written[i] >= 0 && again.values[i] != written[i])
            std::abort();
        if (first.values[i] >= 0 && zx::ConfigValueInRange(i, first.values[i]) &&
            again.values[i] != first.values[i])
            std::abort();
    }
    return 0;
}
