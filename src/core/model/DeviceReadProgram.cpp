#include "model/DeviceReadProgram.h"

#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/FileAccess.h"

#include <algorithm>

namespace zx {

void GiveReadProgramDeviceTexts(Model &model)
{
    ProgramSet &program = model.program();
    program.UsageText = model.catalogue(Msg::Unknown);
    for (QString &name : program.ChannelNames)
        name.clear();
}

bool IsErasedImage(const std::array<int, ImageSize> &values)
{
    const auto all = [&values](int v) {
        return std::all_of(values.begin(), values.end(), [v](int x) { return x == v; });
    };
    return all(255) || all(0);
}

bool IsErasedImageFile(const QString &path)
{
    const FileContent file = ReadRegularFile(path, MaxProgramFileSize);
    if (!file.ok())
        return false;
    const auto values = ReadImageValues(file.content);
    return values && IsErasedImage(*values);
}

} // namespace zx
