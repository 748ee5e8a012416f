#pragma once

#include "model/ProgramFile.h"

namespace zx {

class Model;

// A program read from a device holds what the device holds and nothing of the program that was
// open before. The device keeps neither a usage text nor channel names: the read program gets
// the usage text "unknown" and no channel names, as a new program does. Every read path (chip
// tool, serial link, bus) ends here.
void GiveReadProgramDeviceTexts(Model &model);

// Whether image values are those of an erased memory (every byte 255, as a chip leaves the
// factory or an erase leaves it, or every byte 0): the device holds no program. Such an image
// even passes the check sum (2048 x 255 is a multiple of 256).
bool IsErasedImage(const std::array<int, ImageSize> &values);

// Whether the program file text at `path` is the image of an erased memory.
bool IsErasedImageFile(const QString &path);

} // namespace zx
