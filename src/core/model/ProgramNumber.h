#pragma once

#include <QString>
#include <QtGlobal>

namespace zx {

class Model;

// The program number as the header field takes it: digits and blanks, at most six digits. A
// text whose value is not zero, or that holds a "0", is that number; anything else (an empty
// or blank field) means no program number.
qint32 ProgramNumberFromText(const QString &text);

// Stores the field's text as the program number of set 0; true (and Modified set) when the
// number changed. Only a device with the utility option keeps a program number.
bool SetProgramNumberFromText(Model &model, const QString &text);

} // namespace zx
