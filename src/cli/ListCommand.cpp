// zentrix-cli list: prints a list of a program file exactly as the main window's grid shows it.
#include "Commands.h"
#include "ProgramDocument.h"
#include "HeadlessPrompter.h"

#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QFileInfo>

namespace zx::cli {

namespace {

const char *const ListUsage =
    "zentrix-cli list FILE.zxp --view switching|priority|changeover|astro [--set 0|1] [--lang en|de|fr] "
    "[--type 517|236]";

void setDeviceType(Model &model, int type)
{
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    model.device.DeviceCode = type == TypeAstro ? 80 : 72;
}

} // namespace

int runList(const QStringList &args)
{
    QString file;
    int view = -1;
    int set = SetProgram;
    int language = English;
    int type = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--view") && hasValue) {
            const QString v = args[++i];
            const QStringList names{"switching", "priority", "changeover", "astro"};
            view = static_cast<int>(names.indexOf(v));
            if (view < 0)
                return usageError(ListUsage);
        } else if (a == QLatin1String("--set") && hasValue) {
            const QString v = args[++i];
            if (v != QLatin1String("0") && v != QLatin1String("1"))
                return usageError(ListUsage);
            set = v.toInt();
        } else if (a == QLatin1String("--lang") && hasValue) {
            if (!parseLanguageOption(args[++i], &language))
                return usageError(ListUsage);
        } else if (a == QLatin1String("--type") && hasValue) {
            const QString v = args[++i];
            if (v != QLatin1String("517") && v != QLatin1String("236"))
                return usageError(ListUsage);
            type = v.toInt();
        } else if (!isOption(a) && file.isEmpty()) {
            file = a;
        } else {
            return usageError(ListUsage);
        }
    }
    if (file.isEmpty() || view < 0)
        return usageError(ListUsage);

    Model model;
    model.device.Sprache = language;
    model.catalogue.fillBuiltin(language, model.BrandNumber);
    HeadlessPrompter prompter;
    setDeviceType(model, type ? type : TypeAnnual);
    LoadResult result = LoadProgram(model, prompter, file, false, set);
    // Without --type the file says which device it is for.
    if (!type && result == LoadResult::OtherType236) {
        setDeviceType(model, TypeAstro);
        result = LoadProgram(model, prompter, file, false, set);
    }
    const Catalogue &c = model.catalogue;
    switch (result) {
    case LoadResult::Loaded:
        break;
    case LoadResult::Missing:
        std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(c(Msg::NoSuchFile)));
        return 1;
    case LoadResult::Unreadable: // the system's text has been shown
        return 1;
    case LoadResult::OtherType517:
    case LoadResult::OtherType236:
        std::fprintf(stderr, "%s: %s %d\n", qPrintable(file), qPrintable(c(Msg::FileFor)),
                     static_cast<int>(result));
        return 1;
    default:
        std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(c(Msg::IllegalFile)));
        return 1;
    }

    const ListTable table = views::BuildList(model, view, set);
    std::printf("%s\n", table.header.join(QLatin1Char('\t')).toUtf8().constData());
    for (const ListRow &row : table.rows)
        std::printf("%s\n", row.cells.join(QLatin1Char('\t')).toUtf8().constData());
    return 0;
}

} // namespace zx::cli
