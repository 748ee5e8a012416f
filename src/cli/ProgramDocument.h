#pragma once

#include "model/ProgramFile.h"
#include "model/ProgramRecord.h"

#include <QJsonObject>
#include <QString>

namespace zx {
class Model;
class Prompter;
} // namespace zx

namespace zx::cli {

// Loads a program file into set 0 of `model`, which is set up afresh for device type `type`
// (517 or 236); type 0 tries 517 and then 236. `usedType` receives the type tried last.
LoadResult loadProgramFile(Model &model, Prompter &prompter, const QString &path, int type, int *usedType,
                           QString *reason = nullptr);

// Why a load failed, in the catalogue's words.
QString loadFailureText(const Model &model, LoadResult result, const QString &reason = {});

// Parses "--type 517|236"; 0 when absent. false on a bad value.
bool parseTypeOption(const QString &value, int *type);
// --lang en|de|fr: the built-in language code (English, German, French); false for anything else.
bool parseLanguageOption(const QString &value, int *language);

// The meaning of a record in one line, e.g. "weekly 06:30 mo tu we; channels 1,2; ON".
QString describeRecord(const Model &model, const ProgramRecord &r);
// "weekly", "dated", "priority" or "other".
QString recordKindName(const Model &model, const ProgramRecord &r);

// Set 0 and the device as a readable listing and as the JSON document of `dump --json`.
QString programToText(const Model &model, const QString &path);
QJsonObject programToJson(const Model &model);

// The inverse of programToJson: fills set 0 and the device of `model` from a JSON document.
// false with `error` naming the offending field when a value is missing, of the wrong kind or
// out of range; the model is then left as it was.
bool programFromJson(const QJsonObject &json, Model &model, QString *error);

} // namespace zx::cli
