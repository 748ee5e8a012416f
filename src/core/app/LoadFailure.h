#pragma once

#include "model/ProgramFile.h"

#include <QString>

namespace zx {

class Model;

// The one message for a program file that did not load, in the catalogue's words: the main
// window shows it, zentrix-cli prints it after the file name. Empty when the file loaded; for
// a path that cannot be read as a file, the system's reason.
QString LoadFailureText(const Model &model, LoadResult result, const QString &reason = {});

// The brand's name of the other device a program file belongs to (517: the annual device,
// 236: the astro device).
QString OtherDeviceName(const Model &model, LoadResult result);

} // namespace zx
