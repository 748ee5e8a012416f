#pragma once

#include "app/ComparisonTexts.h"
#include "model/ListKinds.h"
#include "model/ProgramFile.h"
#include "model/ProgramRecord.h"
#include "views/ListFormatter.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace zx {

class Model;
class Prompter;

// How the records of two lists pair up. Equal records match whatever their place. Of the rest,
// a record of a and one of b at the same place in the order (between the same matched
// neighbours) that keep most of their fields are one entry changed; the others are only in one
// list.
struct RecordMatch {
    std::vector<int> onlyA;                   // positions in list a
    std::vector<int> onlyB;                   // positions in list b
    std::vector<std::pair<int, int>> changed; // (position in a, position in b)
};
RecordMatch MatchRecords(const std::vector<ProgramRecord> &a, const std::vector<ProgramRecord> &b);

// The differing rows of one list, as the list shows them (the "nr." cell is the row's number in
// its own program's list).
struct ListDifference {
    int listView = ListSwitching;
    QString title;
    QStringList header;
    std::vector<QStringList> onlyA;
    std::vector<QStringList> onlyB;
    std::vector<std::pair<QStringList, QStringList>> changed;
    bool empty() const { return onlyA.empty() && onlyB.empty() && changed.empty(); }
};

// A device setting or text that differs, with its value in each program.
struct SettingDifference {
    CompareText what = CompareText::SetDeviceType;
    QString name;
    QString a;
    QString b;
};

struct ProgramDifferences {
    // Switching, priority, changeover and astro lists, in that order.
    std::vector<ListDifference> lists;
    std::vector<SettingDifference> settings;
    bool equal() const;
};

struct CompareOptions {
    // The usage text and the channel names are in the file but never on the device.
    bool texts = true;
    ListOptions list;
};

// Compares set 0 of two models (each with its own device properties; the texts come from the
// catalogue of `a`).
ProgramDifferences ComparePrograms(const Model &a, const Model &b, const CompareOptions &options = {});

// The differences as lines of text: for each list the three groups, then the settings. `nameA`
// and `nameB` name the two programs (file names, or "program" and "device").
QStringList DifferenceLines(const ProgramDifferences &d, const QString &nameA, const QString &nameB,
                            int sprache);
// The same as a JSON document for scripts.
QJsonObject DifferencesToJson(const ProgramDifferences &d, const QString &nameA, const QString &nameB);

// The message after a verified write: "written and verified", or what the device read back
// differently (at most a screenful; texts are not compared, the device holds none). `same`
// receives whether they agree.
QString VerifyResultText(const Model &program, const Model &readBack, const ListOptions &list, bool *same);

// The name of an undo step that turned `before` into `after` ("delete 3 switching times").
QString StepName(const Model &before, const Model &after);

// Sets a fresh model up for a device type, as a program file of that type is loaded into it.
void PrepareDeviceType(Model &model, int type);

// Loads a program file into set 0 of `model` to compare it: a file of the other device type is
// loaded as that type (the comparison then names the type among the settings). The template
// set is emptied first, so that the device group of the file decides.
LoadResult LoadForComparison(Model &model, Prompter &prompter, const QString &path,
                             QString *reason = nullptr);

} // namespace zx
