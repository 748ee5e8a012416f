// A program file whose bytes were worked out by hand from the record and image layouts, not written
// by this program: the other fixtures are the saver's own output, so a fault shared by the saver and
// the loader would pass them. Three switching times on a four-channel annual device, Europe rule:
//   weekly 06:30 Mon-Fri channel 1 ON:        b0 128+24=152  b1 6<<4=96   b3 31  b4 1  b5 1
//   dated 12:00 24 December channel 2 OFF:    b0 45          b1 12        b3 24  b4 2  b5 0
//   weekly 22:15 Sat+Sun P2 ch 1+3 pulse 5 s: b0 128+83=211  b1 7<<4|2    b3 96  b4 5  b5 5<<2|1
// In the file: device order (time of day), nibbles of bytes 8.. swapped, the used chain 2, 3, 0 in
// byte 2 of each slot, the free chain from slot 3 to slot 323 (links from 256 on carry bit 8 in the
// swapped byte 3, file value 8), header bytes 2 = 3 + 16 (channels, rule 1) and 3 = 1 + 2 + 4, the
// moment of saving 2026-12-07 06:30 in bytes 4..7 (24, 108, 7, 154), checksum 53.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

using namespace zx;
using namespace zx::test;

namespace {

QByteArray handmade()
{
    QFile f(QStringLiteral(ZX_TEST_DATA "/handmade517.zxp"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(HandmadeFile, LoadsTheWorkedOutRecordsAndSavesTheSameBytes)
{
    const QByteArray bytes = handmade();
    ASSERT_FALSE(bytes.isEmpty());
    Model model;
    model.device.Uhrentyp = TypeAnnual;
    ScriptedPrompter prompter;
    ASSERT_EQ(LoadProgram(model, prompter, QStringLiteral(ZX_TEST_DATA "/handmade517.zxp"), false, 0),
              LoadResult::Loaded);

    EXPECT_EQ(model.device.Kanalzahl, 4);
    EXPECT_EQ(model.device.SwRegel, 1);
    EXPECT_EQ(model.device.DeviceCode, 72);
    EXPECT_EQ(model.device.BusDevice, 0);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("Handmade test"));
    EXPECT_EQ(model.program().ChannelNames[2], QStringLiteral("Gate "));
    ASSERT_EQ(model.program().UsedCount, 3);
    EXPECT_EQ(model.program().SzCount, 3);

    std::vector<ProgramRecord> got(model.program().Records.begin(), model.program().Records.begin() + 3);
    std::vector<ProgramRecord> want = {
        {152, 96, 0, 31, 1, 1}, {45, 12, 0, 24, 2, 0}, {211, 114, 0, 96, 5, 21}};
    auto byBytes = [](const ProgramRecord &a, const ProgramRecord &b) {
        return std::tie(a.b0, a.b1, a.b3, a.b4, a.b5) < std::tie(b.b0, b.b1, b.b3, b.b4, b.b5);
    };
    std::sort(got.begin(), got.end(), byBytes);
    std::sort(want.begin(), want.end(), byBytes);
    EXPECT_EQ(got, want);

    TempDir dir;
    model.program().FileName = dir.file("again.zxp");
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(6, 30)));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    EXPECT_EQ(dir.read("again.zxp"), bytes);
}
