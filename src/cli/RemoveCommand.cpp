// zentrix-cli remove: deletes entries chosen by their list rows, through the main window's
// Delete with its checks.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/DeleteEntries.h"
#include "model/Model.h"
#include "views/ListFormatter.h"

namespace zx::cli {

int runRemove(Options &o)
{
    const QStringList views{QStringLiteral("switching"), QStringLiteral("priority"),
                            QStringLiteral("changeover")};
    const auto view = o.choice("--view", views);
    if (o.failed())
        return 2;
    if (o.positional.size() != 1 || !view || !o.has("--row") || isStdio(o.positional.first()))
        return o.usageError();
    const QString path = o.positional.first();

    FileLock lock(path);
    if (!lockProgramOrTell(lock, path))
        return 1;
    Model model;
    if (!loadProgramOrTell(model, o, path))
        return 1;
    // rows as `list` prints them, counted from 1
    const ListTable table = views::BuildList(model, *view, SetProgram);
    model.ListView = *view;
    model.CurrentSet = SetProgram;
    model.Marked.clear();
    for (const QString &part : o.value("--row").split(u',')) {
        bool ok = false;
        const int row = part.trimmed().toInt(&ok);
        if (!ok || row < 1 || row > int(table.rows.size()))
            return o.badValue("--row", cliText(CliText::NoSuchRow, o.language()).arg(part.trimmed()));
        const int index = table.rows[row - 1].recordIndex;
        model.Marked.push_back(index >= 0 ? index : row - 1);
    }
    HeadlessPrompter prompter; // answers "Really delete?" with OK: the rows were named
    prompter.file = path;
    prompter.quietQuestions = true;
    if (!DeleteMarkedEntries(model, prompter))
        return 1;
    return saveProgramOrTell(model, o, path) ? 0 : 1;
}

} // namespace zx::cli
