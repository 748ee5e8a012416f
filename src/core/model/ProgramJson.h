#pragma once

#include "model/ProgramFile.h"
#include "model/ProgramRecord.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace zx {

class Model;

// The JSON form of a program file, as `zentrix-cli dump --json` prints it and `build` reads it.
//
// Version 2 gives the longitude east positive, as maps and every other number the user types
// do; version 1 documents carry the device's own west-positive value and are still read so.
// A master card holds option bits for the device rather than a program, so its form carries
// the image values as the file holds them; anything the loader accepts comes back unchanged.
constexpr int ProgramJsonVersion = 2;

// The meaning of a record in one line, e.g. "weekly 06:30 mo tu we; channels 1,2; ON".
QString DescribeRecord(const Model &model, const ProgramRecord &r);
// "weekly", "dated", "priority" or "other".
QString RecordKindName(const Model &model, const ProgramRecord &r);

// Set 0 and the device of a loaded program.
QJsonObject ProgramToJson(const Model &model);
// A master card of device type `type` as its file holds it.
QJsonObject MasterCardToJson(const ProgramText &card, int type);

// What a JSON document describes: either set 0 and the device (filled into the model) or a
// master card's file content.
struct ProgramJsonRead {
    QString error; // "field.path: what is wrong"; empty when read
    std::optional<ProgramText> masterCard;
    bool ok() const { return error.isEmpty(); }
};

// The inverse of ProgramToJson and MasterCardToJson. On success the model holds set 0 and the
// device (for a program) or is untouched (for a master card, returned as file content). An
// unknown field, a missing, mistyped or out-of-range value is an error naming the field; the
// model is then left as it was.
ProgramJsonRead ProgramFromJson(const QJsonObject &json, Model &model);

} // namespace zx
