#pragma once

#include "model/ProgramRecord.h"

namespace zx {

class Model;

namespace views {

// Whether a record of the switching or priority list passes the list filter. The list view
// asks only while FilterOn is set; the filter conditions decide.
bool RowPassesFilter(const Model &model, const ProgramRecord &r);

} // namespace views
} // namespace zx
