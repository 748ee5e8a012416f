#pragma once

#include "model/ProgramFile.h"

#include <QString>

namespace zx {

class Model;

// The one message for a program file that did not load, in the catalogue's words: the main
// window shows it, zentrix-cli prints it after the file name. Empty when the file loaded; for
// a path that cannot be read as a file, the system's reason.
// With the loader's detail, an invalid file's message goes on, on a line of its own, with what
// the loader found and where (LoadFaultText).
QString LoadFailureText(const Model &model, LoadResult result, const QString &reason = {},
                        const LoadDetail *detail = nullptr);

// What the loader found wrong with a program file, one sentence in the language (1 German,
// 2 English, 3 French); empty when it found nothing.
QString LoadFaultText(const LoadDetail &detail, int language);

// The brand's name of the other device a program file belongs to (517: the annual device,
// 236: the astro device).
QString OtherDeviceName(const Model &model, LoadResult result);

} // namespace zx
