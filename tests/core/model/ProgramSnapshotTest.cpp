#include "model/ProgramSnapshot.h"

#include "model/Model.h"
#include "support/RandomPrograms.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zx;
using namespace zx::test;

namespace {

const QDateTime Stamp(QDate(2026, 3, 5), QTime(14, 7));

TEST(ProgramSnapshot, RestoresTheDocumentExactlyButKeepsFileNameAndInstallationSettings)
{
    Model m;
    fillFullAstro(m);
    m.program().FileName = QStringLiteral("/tmp/a.zxp");
    const ProgramSnapshot start = ProgramSnapshot::take(m);
    const QByteArray bytes = start.fileText(Stamp);

    // Change everything the document holds, and what it does not.
    m.program().UsedCount = 3;
    m.program().ChannelNames[1] = QStringLiteral("hall");
    m.device.Kanalzahl = 8;
    m.astro.AstroTable[10] = {1, 2};
    m.options.RadioSync = 1;
    m.program().FileName = QStringLiteral("/tmp/b.zxp");
    m.device.Sprache = 3;
    m.device.Busprog = -1;
    m.Marked = {1, 2};
    EXPECT_FALSE(ProgramSnapshot::take(m) == start);

    start.restore(m);
    EXPECT_TRUE(ProgramSnapshot::take(m) == start);
    EXPECT_EQ(ProgramSnapshot::take(m).fileText(Stamp), bytes);
    EXPECT_EQ(m.program().FileName, "/tmp/b.zxp");
    EXPECT_EQ(m.device.Sprache, 3);
    EXPECT_EQ(m.device.Busprog, -1);
    EXPECT_TRUE(m.Marked.empty());
}

TEST(ProgramSnapshot, AnOtherOrderIsTheSameProgramAnOtherRecordIsNot)
{
    Model m;
    std::mt19937 rng(7);
    fillRandomProgram(m, rng, 20);
    const ProgramSnapshot sorted = ProgramSnapshot::take(m);
    auto &r = m.program().Records;
    std::reverse(r.begin(), r.begin() + m.program().UsedCount);
    const ProgramSnapshot reversed = ProgramSnapshot::take(m);
    EXPECT_FALSE(reversed == sorted);
    EXPECT_TRUE(reversed.sameExceptOrder(sorted));
    r[0].b4 ^= 1;
    EXPECT_FALSE(ProgramSnapshot::take(m).sameExceptOrder(sorted));
}

// Every field the document holds takes part in the comparison on its own: a single changed field
// makes the program differ (so an edited program is never taken for the saved one) and restoring
// brings it back exactly.
TEST(ProgramSnapshot, EachFieldOfTheDocumentAloneMakesItDiffer)
{
    using Change = void (*)(Model &);
    const std::vector<std::pair<const char *, Change>> changes = {
        {"record", [](Model &m) { m.program().Records[0].b5 ^= 1; }},
        {"switching count", [](Model &m) { ++m.program().SzCount; }},
        {"priority count", [](Model &m) { ++m.program().PzCount; }},
        {"used count", [](Model &m) { --m.program().UsedCount; }},
        {"changeover table", [](Model &m) { m.program().DstTable[2][1] ^= 1; }},
        {"changeover count", [](Model &m) { ++m.program().DstCount; }},
        {"first changeover year", [](Model &m) { ++m.program().DstFirstYear; }},
        {"header bytes", [](Model &m) { m.program().HeaderBytes[7] ^= 1; }},
        {"program number", [](Model &m) { m.program().ProgramNumber = 4711; }},
        {"usage text", [](Model &m) { m.program().UsageText += QLatin1Char('x'); }},
        {"channel name", [](Model &m) { m.program().ChannelNames[8] += QLatin1Char('x'); }},
        {"device code", [](Model &m) { m.device.DeviceCode ^= 0x80; }},
        {"channels", [](Model &m) { m.device.Kanalzahl = m.device.Kanalzahl % 8 + 1; }},
        {"device type", [](Model &m) { ++m.device.Uhrentyp; }},
        {"model name", [](Model &m) { m.device.ModelName += QLatin1Char('x'); }},
        {"bus device", [](Model &m) { m.device.BusDevice ^= 1; }},
        {"master card options", [](Model &m) { m.device.MasterCardOptions ^= 4; }},
        {"write protection", [](Model &m) { m.device.WriteProtect ^= 1; }},
        {"changeover mode", [](Model &m) { m.device.Bewft ^= 1; }},
        {"changeover rule", [](Model &m) { ++m.device.SwRegel; }},
        {"meter channel", [](Model &m) { ++m.device.MessKanal; }},
        {"meter period", [](Model &m) { ++m.device.MessPeriode; }},
        {"meter pulse", [](Model &m) { ++m.device.MessImpDauer; }},
        {"meter state", [](Model &m) { m.device.MessZustand ^= 1; }},
        {"meter timing", [](Model &m) { m.device.MessZeitpunkt ^= 1; }},
        {"supply tariff", [](Model &m) { m.device.Evu ^= 1; }},
        {"record capacity", [](Model &m) { --m.device.RecordCapacity; }},
        {"date order", [](Model &m) { m.options.EuroDate ^= 1; }},
        {"display language", [](Model &m) { m.options.GermanDisplay ^= 1; }},
        {"radio sync", [](Model &m) { m.options.RadioSync ^= 1; }},
        {"acknowledgement off", [](Model &m) { m.options.NakOff ^= 1; }},
        {"key permanent", [](Model &m) { m.options.KeyPermanent ^= 1; }},
        {"option bit 0", [](Model &m) { m.options.OptionBit0 ^= 1; }},
        {"astro table", [](Model &m) { m.astro.AstroTable[365][1] ^= 1; }},
        {"astro present", [](Model &m) { m.astro.AstroPresent = ~m.astro.AstroPresent; }},
        {"longitude", [](Model &m) { m.astro.Longitude += 0.5f; }},
        {"latitude", [](Model &m) { m.astro.Latitude += 0.5f; }},
        {"time zone", [](Model &m) { m.astro.TimeZone += 60; }},
        {"offset 1", [](Model &m) { m.astro.AstroOffset1 += 1; }},
        {"offset 2", [](Model &m) { m.astro.AstroOffset2 += 1; }},
        {"astro minute", [](Model &m) { ++m.astro.AstroMinute; }},
        {"astro channels", [](Model &m) { m.astro.AstroC1C2 ^= 1; }},
    };
    Model m;
    fillFullAstro(m);
    const ProgramSnapshot start = ProgramSnapshot::take(m);
    ASSERT_TRUE(ProgramSnapshot::take(m) == start);
    for (const auto &[field, change] : changes) {
        SCOPED_TRACE(field);
        change(m);
        EXPECT_FALSE(ProgramSnapshot::take(m) == start);
        EXPECT_FALSE(ProgramSnapshot::take(m).sameExceptOrder(start));
        start.restore(m);
        EXPECT_TRUE(ProgramSnapshot::take(m) == start);
    }
}

} // namespace
