// libFuzzer target: arbitrary bytes as the JSON form of a program (zentrix-cli build). A
// document is either refused with a field named and the model left exactly as it was, or it
// yields a program that the writer saves and the loader reads back with the same records,
// and whose JSON form reads back to the same program.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/ProgramJson.h"

#include <QDateTime>
#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

using namespace zx;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray fileText(const Model &m)
{
    return FormatProgramText(BuildImage(m, QDateTime(QDate(2024, 1, 1), QTime(12, 0))), m.program().UsageText,
                             m.program().ChannelNames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!doc.isObject())
        return 0;
    Model m;
    const QByteArray before = fileText(m);
    const ProgramJsonRead read = ProgramFromJson(doc.object(), m);
    if (!read.ok()) {
        check(!read.error.isEmpty() && fileText(m) == before);
        return 0;
    }
    if (read.masterCard) {
        // a master card is written back exactly as it was given
        Model probe;
        SetUpDeviceType(probe, doc.object().value(u"deviceType").toInt());
        check(ApplyProgramText(probe, *read.masterCard, false, SetProgram) == LoadResult::MasterCard);
        return 0;
    }
    // what build writes, the loader takes back
    Model again;
    SetUpDeviceType(again, m.device.Uhrentyp);
    const LoadResult loaded = LoadProgramText(again, fileText(m), false, SetProgram);
    check(loaded == LoadResult::Loaded);
    check(again.program().UsedCount == m.program().UsedCount &&
          again.program().DstCount == m.program().DstCount);
    // and its JSON form reads back to the same file
    Model third;
    check(ProgramFromJson(ProgramToJson(m), third).ok());
    check(fileText(third) == fileText(m));
    return 0;
}
