#include "entry/DuplicateEntries.h"

#include "model/Model.h"

namespace zx {

std::vector<DuplicateEntry> FindDuplicateEntries(const Model &model)
{
    std::vector<DuplicateEntry> found;
    const ProgramSet &p = model.program();
    for (int i = 1; i < p.UsedCount && i < MaxRecords; ++i) {
        // each record against those before it, as if they had been entered in this order
        if (const Conflict c = FindConflict(model, p.Records[i], -1, i))
            found.push_back({i, c.index, c.result});
    }
    return found;
}

QString DuplicateEntryText(const DuplicateEntry &duplicate, int language)
{
    struct Row {
        const char *en, *de, *fr;
    };
    static const Row rows[] = {
        {"record %1 is the same entry as record %2", "Datensatz %1 ist derselbe Eintrag wie Datensatz %2",
         "l'enregistrement %1 est la même entrée que l'enregistrement %2"},
        {"record %1 is the entry of record %2 with the other state",
         "Datensatz %1 ist der Eintrag von Datensatz %2 mit dem anderen Zustand",
         "l'enregistrement %1 est l'entrée de l'enregistrement %2 avec l'autre état"},
        {"record %1 is a second pulse at the time, days and channels of record %2",
         "Datensatz %1 ist ein zweiter Impuls zu Zeit, Tagen und Kanälen von Datensatz %2",
         "l'enregistrement %1 est une deuxième impulsion à l'heure, aux jours et aux canaux de "
         "l'enregistrement %2"},
    };
    const Row &r = rows[duplicate.kind == Comparison::Inverted ? 1
                        : duplicate.kind == Comparison::Pulse  ? 2
                                                               : 0];
    return QString::fromUtf8(language == 1   ? r.de
                             : language == 3 ? r.fr
                                             : r.en)
        .arg(duplicate.index + 1)
        .arg(duplicate.earlier + 1);
}

} // namespace zx
