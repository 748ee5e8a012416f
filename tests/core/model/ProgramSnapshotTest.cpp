#include "model/ProgramSnapshot.h"

#include "model/Model.h"
#include "support/RandomPrograms.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

#include <algorithm>

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

} // namespace
