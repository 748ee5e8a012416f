#pragma once

#include "model/ProgramRecord.h"

#include <QJsonObject>
#include <QString>

namespace zx {

class Model;
struct ListFilter;

namespace views {

// Whether a record of the switching or priority list passes the list filter (model.filter).
// The list view asks only while FilterOn is set. Other records pass.
bool RowPassesFilter(const Model &model, const ProgramRecord &r);

// The program codes of the filter dialog's program boxes: "none" (0), the priorities (1..9,
// on a bus device 1..7) and "permanent". The to-box lists the codes from the chosen from-code
// on, so to-code = from-code + position; a bus device keeps its permanent to-code as 10, which
// covers its permanent priority code 8 too.
int FilterProgramCount(int busDevice);
int FilterToProgram(int fromProgram, int position, int busDevice);

// Reads filter conditions from a JSON object whose keys are the field names (FilterChannels,
// FilterWeekdays, FilterFromMonth, FilterToMonth, FilterFromProgram, FilterToProgram,
// FilterPulses, FilterState, FilterValue); absent keys keep the values of `filter`. false with
// `error` naming the field when a value is no whole number or out of its range; `filter` is
// then unchanged.
bool FilterFromJson(const QJsonObject &json, ListFilter &filter, QString *error);

} // namespace views
} // namespace zx
