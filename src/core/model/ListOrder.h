#pragma once

#include "model/ProgramRecord.h"

#include <QtGlobal>

#include <span>

namespace zx {

class Model;
class Prompter;

enum SortOrder : int { DeviceOrder = 0, DisplayOrder = 1 };

// Stable re-arrangement of records 0..UsedCount-1 of a set by ascending key. Fewer than two
// records: nothing happens and no wait cursor is shown.
void SortRecords(Model &model, int order, int setIndex, Prompter *prompter = nullptr);

quint32 DeviceKey(const ProgramRecord &r);
// The records in the order the device keeps them: ascending DeviceKey, records of equal key in
// the order given, as the device's own selection sort leaves them.
void SortInDeviceOrder(std::span<ProgramRecord> records);
// Key of the display order under the model's SortColumnSz / SortColumnPz.
quint32 DisplayKey(const Model &model, const ProgramRecord &r);
// The display key before it is narrowed to 32 bits. SortRecords orders by it: the value of a
// bus-device time (0..255) in the state terms, and the "1 - state" terms of columns 8 and 9,
// need more room than 32 unsigned bits give. For conventional devices it equals DisplayKey.
qint64 DisplayKeyWide(const Model &model, const ProgramRecord &r);

// A click on header column `column` of the list shown (ListView 0 or 1): stores the column
// (type 236 shifts switching-time columns above 3 by one) and sorts the shown set.
void HeaderClicked(Model &model, int column, Prompter *prompter = nullptr);

} // namespace zx
