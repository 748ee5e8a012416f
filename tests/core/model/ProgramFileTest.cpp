#include "model/ProgramFile.h"

#include "i18n/Msg.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "support/FileLimits.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

using namespace zx;
using namespace zx::test;

namespace {

const QDateTime SaveMoment(QDate(2024, 3, 15), QTime(13, 47, 21));

QString dataFile(const char *name)
{
    return QStringLiteral(ZX_TEST_DATA "/") + QLatin1String(name);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Text of an image in the plain one-number-per-line form, for hand-made test files.
QByteArray imageText(const std::array<int, ImageSize> &values, const QByteArray &tail = {})
{
    QByteArray out;
    for (int v : values)
        out += QByteArray::number(v) + "\r\n";
    return out + tail;
}

// Sets byte 0 so that all 2048 values sum to 0 modulo 256.
void fixChecksum(std::array<int, ImageSize> &values)
{
    int sum = 0;
    for (int i = 1; i < ImageSize; ++i)
        sum += values[i];
    values[0] = (256 - sum % 256) % 256;
}

// Everything a load may touch, in one comparable string.
QString snapshot(const Model &m)
{
    QString s;
    QTextStream out(&s);
    for (int k = 0; k < 2; ++k) {
        const ProgramSet &p = m.set(k);
        out << "set" << k << ' ' << p.SzCount << ' ' << p.PzCount << ' ' << p.UsedCount << ' ' << p.DstCount
            << ' ' << p.DstFirstYear << ' ' << p.ProgramNumber << ' ' << p.UsageText << '|' << p.FileName
            << '\n';
        for (const auto &r : p.Records)
            out << r.b0 << ',' << r.b1 << ',' << r.b2 << ',' << r.b3 << ',' << r.b4 << ',' << r.b5 << ';';
        for (const auto &e : p.DstTable)
            out << e[0] << ',' << e[1] << ',' << e[2] << ',' << e[3] << ';';
        for (int h : p.HeaderBytes)
            out << h << ',';
        for (const auto &n : p.ChannelNames)
            out << n << '|';
        out << '\n';
    }
    const DeviceProperties &d = m.device;
    out << d.DeviceCode << ' ' << d.Sprache << ' ' << d.Kanalzahl << ' ' << d.Uhrentyp << ' ' << d.ModelName
        << ' ' << d.Busprog << ' ' << d.BusDevice << ' ' << d.MasterCardOptions << ' ' << d.WriteProtect
        << ' ' << d.Bewft << ' ' << d.SwRegel << ' ' << d.MessKanal << ' ' << d.MessPeriode << ' '
        << d.MessImpDauer << ' ' << d.MessZustand << ' ' << d.MessZeitpunkt << ' ' << d.Evu << ' '
        << d.RecordCapacity << '\n';
    const DeviceOptions &o = m.options;
    out << o.EuroDate << o.GermanDisplay << o.RadioSync << o.NakOff << o.KeyPermanent << o.OptionBit0 << '\n';
    const AstroData &a = m.astro;
    out << a.AstroPresent << ' ' << a.Longitude << ' ' << a.Latitude << ' ' << a.TimeZone << ' '
        << a.AstroOffset1 << ' ' << a.AstroOffset2 << ' ' << a.AstroMinute << ' ' << a.AstroC1C2 << '\n';
    for (const auto &day : a.AstroTable)
        out << day[0] << ',' << day[1] << ';';
    out << '\n' << m.Modified;
    return s;
}

class ProgramFileTest : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{SaveMoment};
    TempDir dir;

    bool save(const QString &name = QStringLiteral("p.zxp"))
    {
        model.program().FileName = dir.file(name);
        return SaveProgram(model, prompter, clock);
    }
    QByteArray saved(const QString &name = QStringLiteral("p.zxp")) const { return dir.read(name); }
    LoadResult load(const QString &path, int set = 0, bool skipTexts = false)
    {
        return LoadProgram(model, prompter, path, skipTexts, set);
    }
    std::vector<ProgramRecord> records(int set = 0) const
    {
        const ProgramSet &s = model.set(set);
        return {s.Records.begin(), s.Records.begin() + s.UsedCount};
    }
    void setRecords(std::initializer_list<ProgramRecord> rs)
    {
        ProgramSet &p = model.program();
        p.UsedCount = 0;
        for (const auto &r : rs)
            p.Records[p.UsedCount++] = r;
        model.recount(0);
    }
    std::array<int, ImageSize> savedValues(const QString &name = QStringLiteral("p.zxp")) const
    {
        const auto v = ReadImageValues(saved(name));
        EXPECT_TRUE(v.has_value());
        return v.value_or(std::array<int, ImageSize>{});
    }
};

} // namespace

// ----- the writer, checked against images computed by hand ---------------------------------

TEST_F(ProgramFileTest, SmallAnnualProgramGivesTheImageComputedByHand)
{
    model.device.Kanalzahl = 4;
    model.device.SwRegel = 1;
    model.device.DeviceCode = 72;
    model.options = DeviceOptions{}; // EuroDate 1, GermanDisplay 1, RadioSync 0, NakOff 1, KeyPermanent 0
    model.program().ProgramNumber = 7;
    // in display order: the weekly time first; the device order puts the dated 00:00 first
    setRecords({weeklyTime(6, 30, 31, 1, 1), datedTime(0, 0, 1, 1, 2, 0)});
    model.program().UsageText = QStringLiteral("Hall");
    model.program().ChannelNames[0] = QStringLiteral("Light");
    model.Modified = 1;
    ASSERT_TRUE(save());
    EXPECT_EQ(model.Modified, 0);

    std::array<int, ImageSize> e;
    e.fill(255);
    // 13:47 = 827 minutes: 827 >> 4 = 51; 827 mod 16 = 11 -> 11 x 16 + month 3 = 179
    e[1] = 72;
    e[2] = (4 - 1) + 0 + 16 * 1;
    e[3] = 1 + 2 + 4 + 0 + 16 + 0;
    e[4] = 51;
    e[5] = 179;
    e[6] = 15;
    e[7] = 2024 - 1872;
    e[12] = 0xEF; // 254 with nibbles swapped
    e[13] = 0;    // program number 000007 in BCD: 00 00 07, swapped 00 00 70
    e[14] = 0;
    e[15] = 0x70;
    e[100] = 0; // used chain starts at slot number 1
    e[101] = 1;
    e[102] = 0; // free chain starts at slot number 3
    e[103] = 3;
    // slot 0: dated 00:00 1 January channel 2 OFF: b0 0, b1 1, b3 1, b4 2, b5 0; links to slot 2
    const int slot0[6] = {0x00, 0x10, 2, 0x10, 0x20, 0x00};
    // slot 1: weekly 06:30 Monday..Friday channel 1 ON: m = 390, b0 = 128 + 24 = 152 (0x98),
    // b1 = 6 x 16 = 96 (0x60), b3 = 31 (0x1F), b4 = 1, b5 = 1; last used slot: link 0
    const int slot1[6] = {0x89, 0x06, 0, 0xF1, 0x10, 0x10};
    for (int j = 0; j < 6; ++j) {
        e[104 + j] = slot0[j];
        e[110 + j] = slot1[j];
    }
    // free slots 2..323: zero records, slot k links to k + 2, slot 323 ends the chain; a link of
    // 256 or more puts its bit 8 into bit 7 of b3, which the file holds swapped as 0x08
    for (int k = 2; k < 324; ++k) {
        const int link = k == 323 ? 0 : k + 2;
        const int at = 104 + 6 * k;
        e[at] = 0;
        e[at + 1] = 0;
        e[at + 2] = link & 255;
        e[at + 3] = link >= 256 ? 0x08 : 0;
        e[at + 4] = 0;
        e[at + 5] = 0;
    }
    int sum = 0;
    for (int i = 1; i < ImageSize; ++i)
        sum += e[i];
    e[0] = (256 - sum % 256) % 256;

    const auto got = savedValues();
    for (int i = 0; i < ImageSize; ++i)
        EXPECT_EQ(got[i], e[i]) << "image byte " << i;

    // header kept in set 0, byte 0 left at 0
    const std::array<int, 8> header{0, 72, 19, 23, 51, 179, 15, 152};
    EXPECT_EQ(model.program().HeaderBytes, header);
    // the set is back in display order
    EXPECT_EQ(records()[0], weeklyTime(6, 30, 31, 1, 1));
}

TEST_F(ProgramFileTest, TextLayoutIsTwentyTwentyTwoAndThreeHundredTwentyFourLinesThenTexts)
{
    model.program().ProgramNumber = 7;
    setRecords({weeklyTime(6, 30, 31, 1, 1)});
    model.program().UsageText = QStringLiteral("Hall");
    model.program().ChannelNames[0] = QStringLiteral("Light");
    model.program().ChannelNames[8] = QStringLiteral("never written");
    ASSERT_TRUE(save());
    const QByteArray text = saved();
    ASSERT_TRUE(text.endsWith("\r\n"));
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast(); // after the final line end
    ASSERT_EQ(lines.size(), 20 + 20 + 2 + 324 + 1 + 8);
    for (const QByteArray &l : lines)
        ASSERT_TRUE(l.endsWith('\r'));
    auto numbersIn = [](const QByteArray &line) {
        return line.trimmed().isEmpty() ? 0 : int(line.simplified().split(' ').size());
    };
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(numbersIn(lines[i]), 1) << i;
    for (int i = 20; i < 40; ++i)
        EXPECT_EQ(numbersIn(lines[i]), 4) << i;
    EXPECT_EQ(numbersIn(lines[40]), 2);
    EXPECT_EQ(numbersIn(lines[41]), 2);
    for (int i = 42; i < 366; ++i)
        EXPECT_EQ(numbersIn(lines[i]), 6) << i;
    // every number: a blank, its digits, a blank
    EXPECT_EQ(lines[13], " 0 \r");   // program number digits 6 and 5
    EXPECT_EQ(lines[15], " 112 \r"); // digits 2 and 1: 07 swapped
    EXPECT_EQ(lines[20], " 255  255  255  255 \r");
    EXPECT_EQ(lines[40], " 0  1 \r");
    EXPECT_EQ(lines[41], " 0  2 \r");
    EXPECT_EQ(lines[366], "Hall\r");
    EXPECT_EQ(lines[367], "Light\r");
    for (int i = 368; i < 375; ++i)
        EXPECT_EQ(lines[i], "\r");
    EXPECT_FALSE(text.contains("never written"));
}

TEST_F(ProgramFileTest, AFourNumberLineHoldsFifteenCharacters)
{
    // changeover entry 0, 255, 1, 16 is written with swapped nibbles: 0, 255, 16, 1
    model.program().DstTable[0] = {0, 255, 16, 1};
    model.program().DstTable[1] = {1, 2, 3, 4}; // past the count: not the device's
    model.program().DstCount = 1;
    model.program().DstFirstYear = 30;
    model.device.SwRegel = 4;
    ASSERT_TRUE(save());
    const QList<QByteArray> lines = saved().split('\n');
    EXPECT_EQ(lines[20], " 0  255  1  16 \r");
    EXPECT_EQ(lines[21], " 255  255  255  255 \r");
    EXPECT_EQ(lines[20].size() - 1, 15);
    EXPECT_EQ(lines[19], " 225 \r"); // 30 = 0x1E, swapped 0xE1
}

TEST_F(ProgramFileTest, AstroImageBytesComputedByHand)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.RecordCapacity = CapacityAstro;
    model.device.DeviceCode = 80;
    model.device.Kanalzahl = 2;
    model.device.WriteProtect = 1;
    model.options.EuroDate = 1;
    model.options.RadioSync = 1;
    model.options.NakOff = 0;
    model.options.KeyPermanent = 1;
    AstroData &a = model.astro;
    a.Longitude = -13.5f; // west
    a.Latitude = 52.5f;
    a.TimeZone = -75; // 1 h 15 min behind
    a.AstroOffset1 = -15;
    a.AstroOffset2 = 20;
    a.AstroMinute = 30;
    a.AstroC1C2 = 1;
    a.AstroTable[0] = {0x123, 0x456};
    a.AstroTable[365] = {0xABC, 0xDEF};
    a.AstroPresent = -1;
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[1], 80);
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[3], 5 + 2 + 8 + 0 + 32);
    EXPECT_EQ(v[12], 245 + 0 + 8); // plain: write protection on, C1C2
    EXPECT_EQ(v[13], 256 - 15);    // plain signed byte
    EXPECT_EQ(v[14], 20);
    EXPECT_EQ(v[15], 13); // whole degrees of |longitude|
    EXPECT_EQ(v[16], 52); // latitude positive
    EXPECT_EQ(v[17], 128 + 32 * 1 + 16 + 1);
    EXPECT_EQ(v[18], 0xED); // 128 + 64 + 30 = 222 = 0xDE, swapped
    // astro table: A0 A2 | B2 A1 | B1 B0
    EXPECT_EQ(v[950], 0x31);
    EXPECT_EQ(v[951], 0x42);
    EXPECT_EQ(v[952], 0x56);
    EXPECT_EQ(v[950 + 3 * 365], 0xCA);
    EXPECT_EQ(v[951 + 3 * 365], 0xDB);
    EXPECT_EQ(v[952 + 3 * 365], 0xEF);
    // one used slot; the free chain runs through slot 121 (number 122), which ends it
    EXPECT_EQ(v[101], 1);
    EXPECT_EQ(v[103], 2);
    EXPECT_EQ(v[104 + 2], 0);
    EXPECT_EQ(v[104 + 6 * 1 + 2], 3);
    EXPECT_EQ(v[104 + 6 * 119 + 2], 121);
    EXPECT_EQ(v[104 + 6 * 120 + 2], 122);
    EXPECT_EQ(v[104 + 6 * 121 + 2], 0);
    EXPECT_EQ(v[104 + 6 * 122 + 2], 0);

    // without a computed table every day is written as 1791, 1791
    a.AstroPresent = 0;
    ASSERT_TRUE(save());
    const auto w = savedValues();
    for (int d = 0; d < 366; ++d) {
        ASSERT_EQ(w[950 + 3 * d], 0xF6);
        ASSERT_EQ(w[951 + 3 * d], 0x6F);
        ASSERT_EQ(w[952 + 3 * d], 0xFF);
    }
}

TEST_F(ProgramFileTest, AnnualMeterPulseMasterOptionsAndWriteProtect)
{
    model.device.MessKanal = 3;
    model.device.MessPeriode = 15;
    model.device.MessImpDauer = 10;
    model.device.MessZustand = 1;
    model.device.MessZeitpunkt = 1;
    model.device.WriteProtect = 1;
    model.device.DeviceCode = 72 + 128;
    model.device.MasterCardOptions = 0x21;
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[1], 200);
    EXPECT_EQ(v[3] & 128, 128);
    EXPECT_EQ(v[12], 0xCF); // 252 swapped
    EXPECT_EQ(v[16], SwapNibbles(2 * 64 + 15));
    EXPECT_EQ(v[17], SwapNibbles(128 + 64 + 10));
    EXPECT_EQ(v[18], 0x12);
}

TEST_F(ProgramFileTest, DeviceCodeFollowsSpecialPriorityKeepingBitSeven)
{
    setRecords({easterPriority(1, 1, 1)});
    model.device.DeviceCode = 72;
    ASSERT_TRUE(save());
    EXPECT_EQ(model.device.DeviceCode, 73);
    EXPECT_EQ(savedValues()[1], 73);
    setRecords({priorityTime(1, 5, 1, 5, 1, 1)});
    model.device.DeviceCode = 73 + 128;
    ASSERT_TRUE(save());
    EXPECT_EQ(model.device.DeviceCode, 72 + 128);
    // Loaded back, only the special code makes the device one that counts priority years.
    for (const int code : {72, 73}) {
        model.device.DeviceCode = code;
        setRecords({code == 73 ? easterPriority(1, 1, 1) : priorityTime(1, 5, 1, 5, 1, 1)});
        ASSERT_TRUE(save());
        model.device.Bewft = 0;
        ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
        EXPECT_EQ(model.device.Bewft, code == 73 ? 1 : 0) << code;
    }
}

// ----- the save dialogue --------------------------------------------------------------------

TEST_F(ProgramFileTest, EmptyProgramCancelledWritesNothing)
{
    prompter.answers = {Answer::Cancel};
    model.Modified = 1;
    EXPECT_FALSE(save());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].message, model.catalogue(Msg::NoDataToSaveDo));
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::OkCancel);
    EXPECT_FALSE(dir.exists("p.zxp"));
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(prompter.busyDepth, 0);
}

TEST_F(ProgramFileTest, EmptyProgramConfirmedLinksEverySlotIntoTheFreeChain)
{
    prompter.answers = {Answer::Ok};
    model.program().ProgramNumber = 42;
    ASSERT_TRUE(save());
    EXPECT_EQ(model.program().ProgramNumber, NoProgramNumber);
    const auto v = savedValues();
    EXPECT_EQ(v[100], 0);
    EXPECT_EQ(v[101], 0);
    EXPECT_EQ(v[102], 0);
    EXPECT_EQ(v[103], 1);
    for (int k = 0; k < 323; ++k) {
        const int link = v[104 + 6 * k + 2] + 256 * (SwapNibbles(v[104 + 6 * k + 3]) >> 7);
        ASSERT_EQ(link, k + 2) << k;
    }
    EXPECT_EQ(v[13], 255);
    // with confirmation already given no question is asked
    prompter.shown.clear();
    model.ExportEmptyConfirmed = 1;
    ASSERT_TRUE(save());
    EXPECT_TRUE(prompter.shown.empty());
}

// Any one kind of content makes the program worth saving without the question.
TEST_F(ProgramFileTest, AnyContentSavesWithoutTheEmptyQuestion)
{
    using Change = void (*)(Model &);
    const std::pair<const char *, Change> contents[] = {
        {"record", [](Model &m) { m.program().UsedCount = 1; }},
        {"changeover entry",
         [](Model &m) {
             m.program().DstCount = 1;
             m.device.SwRegel = RuleTable;
         }},
        {"astro table", [](Model &m) { m.astro.AstroPresent = -1; }},
        {"meter channel", [](Model &m) { m.device.MessKanal = 1; }},
    };
    for (const auto &[what, change] : contents) {
        SCOPED_TRACE(what);
        model = Model();
        setRecords({});
        change(model);
        prompter.shown.clear();
        EXPECT_TRUE(save());
        EXPECT_TRUE(prompter.shown.empty());
    }
}

TEST_F(ProgramFileTest, RuleFourWithoutTableRefusesToSave)
{
    setRecords({weeklyTime(7, 0, 1, 1), weeklyTime(6, 0, 1, 1)});
    model.device.SwRegel = 4;
    model.Modified = 1;
    EXPECT_FALSE(save());
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::SelectAnOtherChangeoverRule));
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
    EXPECT_FALSE(dir.exists("p.zxp"));
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(records()[0], weeklyTime(6, 0, 1, 1)); // sorted back into display order
}

TEST_F(ProgramFileTest, TableWithOtherRuleAsksAndYesActivatesIt)
{
    model.program().DstTable[0] = {27, 3, 2, 25};
    model.program().DstCount = 1;
    model.program().DstFirstYear = 5;
    model.device.SwRegel = 1;
    prompter.answers = {Answer::No};
    ASSERT_TRUE(save());
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::ThereIsAChangeoverTable));
    EXPECT_EQ(model.device.SwRegel, 1);
    EXPECT_EQ(savedValues()[2] >> 4, 1);
    prompter.answers = {Answer::Yes};
    ASSERT_TRUE(save());
    EXPECT_EQ(model.device.SwRegel, 4);
    EXPECT_EQ(savedValues()[2] >> 4, 4);
}

TEST_F(ProgramFileTest, FullProgramHasNoFreeChain)
{
    fillFullAnnual(model);
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[102], 0);
    EXPECT_EQ(v[103], 0);
    EXPECT_EQ(v[100], 0);
    EXPECT_EQ(v[101], 1);
    // the last used slot ends the chain: link byte 0 and the swapped bit 7 of b3 (bit 3) clear
    EXPECT_EQ(v[104 + 6 * 323 + 2], 0);
    EXPECT_EQ(v[104 + 6 * 323 + 3] & 8, 0);
    // slot 254 links to number 256: low byte 0, bit 8 in b3
    EXPECT_EQ(v[104 + 6 * 254 + 2], 0);
    EXPECT_EQ(v[104 + 6 * 254 + 3] & 8, 8);
}

TEST_F(ProgramFileTest, LastUsedSlotEndsTheChain)
{
    setRecords({weeklyTime(6, 0, 1, 1), weeklyTime(7, 0, 1, 1), weeklyTime(8, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[104 + 6 * 2 + 2], 0);
    EXPECT_EQ(v[104 + 6 * 2 + 3] & 8, 0);
    EXPECT_EQ(v[104 + 6 * 1 + 2], 3);
}

TEST_F(ProgramFileTest, WaitCursorDuringSaveAndLoad)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    EXPECT_GE(prompter.busyCount, 1);
    EXPECT_EQ(prompter.busyDepth, 0);
    prompter.busyCount = 0;
    EXPECT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_GE(prompter.busyCount, 1);
    EXPECT_EQ(prompter.busyDepth, 0);
}

// ----- failed saves --------------------------------------------------------------------------

TEST_F(ProgramFileTest, SaveIntoAPathWhoseParentIsAFileFailsWithTheSystemText)
{
    dir.write("plain", "x");
    setRecords({weeklyTime(6, 0, 1, 1), weeklyTime(5, 0, 1, 1)});
    model.Modified = 1;
    model.program().FileName = dir.file("plain/p.zxp");
    EXPECT_FALSE(SaveProgram(model, prompter, clock));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("plain/p.zxp"))) << qPrintable(prompter.last());
    EXPECT_GT(prompter.last().size(), dir.file("plain/p.zxp").size() + 1); // carries the system's text
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(dir.read("plain"), "x");
    EXPECT_EQ(records()[0], weeklyTime(5, 0, 1, 1));                // display order
    EXPECT_EQ(model.program().HeaderBytes, (std::array<int, 8>{})); // nothing was written

    prompter.shown.clear();
    model.program().FileName.clear();
    EXPECT_FALSE(SaveProgram(model, prompter, clock));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::NoValidFilename).trimmed());
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(ProgramFileTest, SaveIntoReadOnlyDirectoryKeepsTheOldFile)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const QByteArray before = saved();
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    setRecords({weeklyTime(9, 0, 1, 1)});
    model.Modified = 1;
    {
        // root writes into any directory: the save runs as an ordinary user
        const test::WithoutRootPrivileges user;
        ASSERT_TRUE(user.effective());
        EXPECT_FALSE(save());
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
}

TEST_F(ProgramFileTest, SaveOnAFullDiskKeepsTheOldFile)
{
    // The file size limit makes every write beyond a few bytes fail as a full disk would,
    // for root too.
    fillFullAnnual(model);
    ASSERT_TRUE(save());
    const QByteArray before = saved();
    ASSERT_GT(before.size(), 4000);

    setRecords({weeklyTime(9, 0, 1, 1)});
    model.Modified = 1;
    bool ok = true;
    {
        const test::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        ok = save();
    }

    EXPECT_FALSE(ok);
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(model.Modified, 1);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.zxp")}); // no debris
}

// ----- loading --------------------------------------------------------------------------------

TEST_F(ProgramFileTest, SaveAndLoadRoundTripOfDeviceProperties)
{
    fillFullAnnual(model);
    model.device.WriteProtect = 1;
    model.options.RadioSync = 1;
    model.options.KeyPermanent = 1;
    model.options.EuroDate = 0;
    ASSERT_TRUE(save());
    const auto expected = records();
    const QString usage = model.program().UsageText;

    Model fresh;
    fresh.device.Kanalzahl = 1;
    ScriptedPrompter p2;
    ASSERT_EQ(LoadProgram(fresh, p2, dir.file("p.zxp"), false, 0), LoadResult::Loaded);
    EXPECT_EQ(fresh.program().UsedCount, 324);
    EXPECT_EQ(fresh.program().SzCount + fresh.program().PzCount, 324);
    std::vector<ProgramRecord> got(fresh.program().Records.begin(), fresh.program().Records.begin() + 324);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(fresh.device.Kanalzahl, 4);
    EXPECT_EQ(fresh.device.SwRegel, 4);
    EXPECT_EQ(fresh.device.WriteProtect, 1);
    EXPECT_EQ(fresh.device.MessKanal, 2);
    EXPECT_EQ(fresh.device.MessPeriode, 15);
    EXPECT_EQ(fresh.device.MessImpDauer, 10);
    EXPECT_EQ(fresh.device.MessZustand, 1);
    EXPECT_EQ(fresh.device.MessZeitpunkt, 0);
    EXPECT_EQ(fresh.options.RadioSync, 1);
    EXPECT_EQ(fresh.options.KeyPermanent, 1);
    EXPECT_EQ(fresh.options.EuroDate, 0);
    EXPECT_EQ(fresh.options.OptionBit0, 1);
    EXPECT_EQ(fresh.program().ProgramNumber, 123456);
    EXPECT_EQ(fresh.program().DstCount, 4);
    EXPECT_EQ(fresh.program().DstFirstYear, 66);
    EXPECT_EQ(fresh.program().DstTable[1], (DstEntry{30, 10, 3, 28}));
    EXPECT_EQ(fresh.program().DstTable[4], EmptyDstEntry);
    EXPECT_EQ(fresh.program().UsageText, usage);
    EXPECT_EQ(fresh.program().ChannelNames[2], QStringLiteral("Lüftung "));
    EXPECT_EQ(fresh.program().ChannelNames[7], QStringLiteral(" "));
    EXPECT_EQ(fresh.program().FileName, dir.file("p.zxp"));
    const std::array<int, 8> header{savedValues()[0], 73, 3 + 64, 1 + 4 + 8 + 16 + 32, 51, 179, 15, 152};
    EXPECT_EQ(fresh.program().HeaderBytes, header);
}

TEST_F(ProgramFileTest, AstroRoundTripOfLocationAndTable)
{
    fillFullAstro(model);
    ASSERT_TRUE(save());
    Model fresh;
    fresh.device.Uhrentyp = TypeAstro;
    fresh.device.RecordCapacity = 40;
    ScriptedPrompter p2;
    ASSERT_EQ(LoadProgram(fresh, p2, dir.file("p.zxp"), false, 0), LoadResult::Loaded);
    EXPECT_EQ(fresh.device.RecordCapacity, CapacityAstro);
    EXPECT_EQ(fresh.program().UsedCount, 120);
    EXPECT_FLOAT_EQ(fresh.astro.Longitude, -13.5f);
    EXPECT_FLOAT_EQ(fresh.astro.Latitude, 52.5f);
    EXPECT_FLOAT_EQ(fresh.astro.TimeZone, -75.0f);
    EXPECT_FLOAT_EQ(fresh.astro.AstroOffset1, -15.0f);
    EXPECT_FLOAT_EQ(fresh.astro.AstroOffset2, 20.0f);
    EXPECT_EQ(fresh.astro.AstroMinute, 30);
    EXPECT_EQ(fresh.astro.AstroC1C2, 1);
    EXPECT_EQ(fresh.astro.AstroPresent, -1);
    EXPECT_EQ(fresh.astro.AstroTable, model.astro.AstroTable);
    EXPECT_EQ(fresh.device.WriteProtect, 1);
    EXPECT_EQ(fresh.options.GermanDisplay, 1);
    EXPECT_EQ(fresh.program().ProgramNumber, NoProgramNumber);
}

TEST_F(ProgramFileTest, NegativeLatitudeAndEastLongitudeRoundTrip)
{
    fillFullAstro(model);
    model.astro.Latitude = -33.5f;
    model.astro.Longitude = 151.0f;
    model.astro.TimeZone = 600;
    model.astro.AstroOffset1 = 120;
    model.astro.AstroOffset2 = -120;
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[16], 128 + 33);
    EXPECT_EQ(v[17], 10);
    Model fresh;
    fresh.device.Uhrentyp = TypeAstro;
    ScriptedPrompter p2;
    ASSERT_EQ(LoadProgram(fresh, p2, dir.file("p.zxp"), false, 0), LoadResult::Loaded);
    EXPECT_FLOAT_EQ(fresh.astro.Latitude, -33.5f);
    EXPECT_FLOAT_EQ(fresh.astro.Longitude, 151.0f);
    EXPECT_FLOAT_EQ(fresh.astro.TimeZone, 600.0f);
    EXPECT_FLOAT_EQ(fresh.astro.AstroOffset1, 120.0f);
    EXPECT_FLOAT_EQ(fresh.astro.AstroOffset2, -120.0f);
}

// On the equator and the zero meridian the image holds the sign bits as for south and east: the
// bytes stay those of the files the devices were programmed with.
TEST_F(ProgramFileTest, ZeroLatitudeAndLongitudeAreWrittenWithTheirSignBits)
{
    fillFullAstro(model);
    model.astro.Latitude = 0;
    model.astro.Longitude = 0;
    model.astro.TimeZone = 0;
    ASSERT_TRUE(save());
    const auto v = savedValues();
    EXPECT_EQ(v[15], 0);
    EXPECT_EQ(v[16], 128);
    EXPECT_EQ(v[17], 128);
}

TEST_F(ProgramFileTest, AstroValuesOutOfRangeAreLimitedOnLoad)
{
    std::array<int, ImageSize> v{};
    v.fill(255);
    v[1] = 80;
    v[2] = 0;
    v[3] = 5;
    v[12] = 255;
    v[13] = 130;             // -126 -> -120
    v[14] = 127;             // 127, the largest positive byte -> 120
    v[15] = 200;             // 200 degrees -> 180
    v[16] = 127 + 128;       // -127 -> -70
    v[17] = 15 + 96 + 16;    // -(15 h + 45 min) -> -720
    v[18] = SwapNibbles(63); // minute 63 -> 59
    v[100] = v[101] = 0;
    v[102] = v[103] = 0;
    fixChecksum(v);
    model.device.Uhrentyp = TypeAstro;
    dir.write("a.zxp", imageText(v));
    ASSERT_EQ(load(dir.file("a.zxp")), LoadResult::Loaded);
    EXPECT_FLOAT_EQ(model.astro.AstroOffset1, -120.0f);
    EXPECT_FLOAT_EQ(model.astro.AstroOffset2, 120.0f);
    EXPECT_FLOAT_EQ(model.astro.Longitude, 180.0f);
    EXPECT_FLOAT_EQ(model.astro.Latitude, -70.0f);
    EXPECT_FLOAT_EQ(model.astro.TimeZone, -720.0f);
    EXPECT_EQ(model.astro.AstroMinute, 59);
}

TEST_F(ProgramFileTest, UsageTextAndChannelNamesReadBack)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().UsageText = QStringLiteral("Sporthalle West; Eingang – Nord");
    model.program().ChannelNames[0] = QStringLiteral("Licht");
    model.program().ChannelNames[3] = QStringLiteral("Tür ");
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("Sporthalle West; Eingang – Nord"));
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral("Licht "));
    EXPECT_EQ(model.program().ChannelNames[3], QStringLiteral("Tür "));
    EXPECT_EQ(model.program().ChannelNames[1], QStringLiteral(" "));
    // names do not grow however often the file is loaded and saved again
    const QByteArray first = saved();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(save());
        ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    }
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral("Licht "));
    EXPECT_EQ(saved().mid(saved().indexOf("Sporthalle")), first.mid(first.indexOf("Sporthalle")));
}

TEST_F(ProgramFileTest, TextsAreWrittenInWindows1252WhenTheyFitAndInUtf8Otherwise)
{
    struct Case {
        QString extra;      // appended to the last channel name
        QByteArray kitchen; // "Küche" as the file holds it
    };
    for (const Case &c : {Case{QString(), QByteArray("K\xfc"
                                                     "che")},
                          Case{QStringLiteral(" Ω"), QByteArray("K\xc3\xbc"
                                                                "che")}}) {
        setRecords({weeklyTime(6, 0, 1, 1)});
        model.program().UsageText = QStringLiteral("Büro");
        model.program().ChannelNames[0] = QStringLiteral("Küche");
        model.program().ChannelNames[1] = QStringLiteral("Straße");
        model.program().ChannelNames[7] = QStringLiteral("Büro") + c.extra;
        ASSERT_TRUE(save());
        const QByteArray first = saved();
        EXPECT_TRUE(first.contains("\r\n" + c.kitchen + "\r\n")) << c.extra.toStdString();
        ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
        EXPECT_EQ(model.program().ChannelNames[1], QStringLiteral("Straße "));
        EXPECT_EQ(model.program().ChannelNames[7], QStringLiteral("Büro") + c.extra + QLatin1Char(' '));
        ASSERT_TRUE(save());
        const QByteArray second = saved();
        // byte-exact apart from the header's time stamp
        EXPECT_EQ(second.mid(second.indexOf("\r\nB")), first.mid(first.indexOf("\r\nB")));
    }
}

TEST_F(ProgramFileTest, CommaOrLineBreakInATextCannotShiftTheNamesBehindIt)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().UsageText = QStringLiteral("a,b\nc");
    model.program().ChannelNames[0] = QStringLiteral("one");
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("a b c"));
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral("one "));
}

// Nine texts follow the numbers (usage text, eight channel names); a line after them is
// someone's note and changes nothing.
TEST_F(ProgramFileTest, LinesAfterTheNinthTextAreIgnored)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().ChannelNames[7] = QStringLiteral("last");
    ASSERT_TRUE(save());
    dir.write("p.zxp", saved() + "stray\r\nmore\r\n");
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().ChannelNames[7], QStringLiteral("last "));
}

// Editors that save UTF-8 may put a byte order mark in front; the reader steps over it.
TEST_F(ProgramFileTest, AByteOrderMarkInFrontIsSkipped)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const QByteArray plain = saved();
    dir.write("p.zxp", "\xEF\xBB\xBF" + plain);
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsedCount, 1);
    // Half a mark, or a mark with any one byte wrong, is no mark.
    for (const char *lead : {"\xEF\xBB", "\xEE\xBB\xBF", "\xEF\xBA\xBF", "\xEF\xBB\xBE"}) {
        dir.write("p.zxp", lead + plain);
        EXPECT_EQ(load(dir.file("p.zxp")), LoadResult::Invalid) << QByteArray(lead).toHex().toStdString();
    }
}

TEST_F(ProgramFileTest, SkipTextsKeepsTheSetsTexts)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().UsageText = QStringLiteral("from file");
    ASSERT_TRUE(save());
    model.program().UsageText = QStringLiteral("kept");
    ASSERT_EQ(load(dir.file("p.zxp"), 0, true), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("kept"));
}

TEST_F(ProgramFileTest, ReaderTakesNumbersWhateverTheGroupingAndSeparators)
{
    setRecords({weeklyTime(6, 0, 1, 1), datedTime(5, 0, 3, 4, 2)});
    model.program().UsageText = QStringLiteral("Usage");
    model.program().ChannelNames[0] = QStringLiteral("Ch1");
    model.program().ChannelNames[1] = QStringLiteral("Ch2");
    ASSERT_TRUE(save());
    const auto values = savedValues();
    // one line, separated by commas and runs of blanks, texts separated by commas
    QByteArray odd = "  ";
    for (int i = 0; i < ImageSize; ++i)
        odd += QByteArray::number(values[i]) + (i % 3 == 0 ? ",  " : (i % 3 == 1 ? " ,, " : "\r\n\r\n"));
    odd += "\n   Usage,  Ch1 ,Ch2\n";
    Model other;
    ScriptedPrompter p2;
    EXPECT_EQ(LoadProgramText(other, odd, false, 0), LoadResult::Loaded);
    EXPECT_EQ(other.program().UsedCount, 2);
    EXPECT_EQ(other.program().UsageText, QStringLiteral("Usage"));
    EXPECT_EQ(other.program().ChannelNames[0], QStringLiteral("Ch1  "));
    EXPECT_EQ(other.program().ChannelNames[1], QStringLiteral("Ch2 "));
    EXPECT_EQ(other.program().ChannelNames[2], QStringLiteral(" "));

    // texts on the line of the last number
    QByteArray sameLine;
    for (int i = 0; i < ImageSize; ++i)
        sameLine += QByteArray::number(values[i]) + ' ';
    sameLine += "Usage,Ch1\n";
    Model third;
    EXPECT_EQ(LoadProgramText(third, sameLine, false, 0), LoadResult::Loaded);
    EXPECT_EQ(third.program().UsageText, QStringLiteral("Usage"));
    EXPECT_EQ(third.program().ChannelNames[0], QStringLiteral("Ch1 "));
}

TEST_F(ProgramFileTest, LfOnlyAndLegacyEightBitFilesLoad)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().UsageText = QStringLiteral("Büro");
    model.program().ChannelNames[0] = QStringLiteral("Tür");
    ASSERT_TRUE(save());
    ScriptedPrompter p2;
    // lines that end in LF or in CR alone
    for (const char *end : {"\n", "\r"}) {
        QByteArray other = saved();
        other.replace("\r\n", end);
        dir.write("other.zxp", other);
        Model a;
        ASSERT_EQ(LoadProgram(a, p2, dir.file("other.zxp"), false, 0), LoadResult::Loaded) << int(*end);
        EXPECT_EQ(a.program().UsageText, QStringLiteral("Büro"));
        EXPECT_EQ(a.program().ChannelNames[0], QStringLiteral("Tür "));
    }

    QByteArray legacy = saved();
    // saved in Windows-1252 already, since every character fits
    legacy.replace("B\xfcro", "B\xfcro \x80");
    dir.write("legacy.zxp", legacy);
    Model b;
    ASSERT_EQ(LoadProgram(b, p2, dir.file("legacy.zxp"), false, 0), LoadResult::Loaded);
    EXPECT_EQ(b.program().UsageText, QStringLiteral("Büro €"));
    EXPECT_EQ(b.program().ChannelNames[0], QStringLiteral("Tür "));
}

TEST_F(ProgramFileTest, FileWithoutTextsLoadsWithEmptyTexts)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto values = savedValues();
    std::array<int, ImageSize> v;
    std::copy(values.begin(), values.end(), v.begin());
    model.program().UsageText = QStringLiteral("old");
    ASSERT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsageText, QString());
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral(" "));
}

// What the loader found and on which line of the file: the one-number-per-line text puts image
// byte i on line i + 1, so each fault's line is known by hand.
TEST_F(ProgramFileTest, AnInvalidFileSaysWhatIsWrongAndOnWhichLine)
{
    setRecords({weeklyTime(6, 0, 1, 1), weeklyTime(7, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto saved = savedValues();
    std::array<int, ImageSize> good;
    std::copy(saved.begin(), saved.end(), good.begin());
    const QByteArray text = imageText(good);
    const auto firstLines = [&](int n, const QByteArray &end) {
        return text.split('\n').mid(0, n).join('\n').replace('\r', "").replace("\n", end) + end;
    };
    const auto withLine = [&](int line, const QByteArray &content) {
        QList<QByteArray> lines = text.split('\n');
        lines[line - 1] = content + '\r';
        return lines.join('\n');
    };
    const int slot0Link = 104 + 2;
    const auto linked = [&](int link) {
        auto v = good;
        v[slot0Link] = link & 255;
        v[slot0Link + 1] = SwapNibbles((SwapNibbles(v[slot0Link + 1]) & 127) | ((link >> 8) << 7));
        fixChecksum(v);
        return imageText(v);
    };
    auto badSum = good;
    badSum[0] = (badSum[0] + 5) % 256;
    struct Case {
        const char *name;
        QByteArray text;
        LoadDetail expected;
    };
    const Case cases[] = {
        {"Empty", {}, {LoadFault::Truncated, 1, 0, 0}},
        {"TenLines", firstLines(10, "\r\n"), {LoadFault::Truncated, 10, 0, 0}},
        {"TenLinesLf", firstLines(10, "\n"), {LoadFault::Truncated, 10, 0, 0}},
        {"TenLinesNoEnd", firstLines(10, "\n").chopped(1), {LoadFault::Truncated, 10, 0, 0}},
        {"Letter", withLine(4, "x"), {LoadFault::NotANumber, 4, 0, 0}},
        {"DigitsThenLetter", withLine(5, "12a"), {LoadFault::NotANumber, 5, 0, 0}},
        {"Value256", withLine(3, "256"), {LoadFault::ValueOutOfRange, 3, 256, 0}},
        {"Checksum", imageText(badSum), {LoadFault::Checksum, 0, 5, 0}},
        {"LastSlot", linked(324), {}},
        {"LinkBeyondCapacity", linked(325), {LoadFault::LinkBeyondCapacity, slot0Link + 1, 325, 324}},
        {"Loop", linked(1), {LoadFault::ChainLoop, slot0Link + 1, 1, 324}},
    };
    for (const Case &c : cases) {
        LoadDetail detail{LoadFault::Checksum, 99, 99, 99};
        const LoadResult result = LoadProgramText(model, c.text, false, 0, &detail);
        EXPECT_EQ(result == LoadResult::Loaded, c.expected.ok()) << c.name;
        EXPECT_EQ(detail.fault, c.expected.fault) << c.name;
        EXPECT_EQ(detail.line, c.expected.line) << c.name;
        EXPECT_EQ(detail.value, c.expected.value) << c.name;
        EXPECT_EQ(detail.limit, c.expected.limit) << c.name;
    }
}

TEST_F(ProgramFileTest, InvalidRecordsAreDroppedAndNotCounted)
{
    // b0 90..95 and 218..255 are no records the system edits
    setRecords({weeklyTime(6, 0, 1, 1), ProgramRecord{90, 0, 0, 1, 1, 1}, ProgramRecord{95, 0, 0, 1, 1, 1},
                ProgramRecord{218, 0, 0, 1, 1, 1}, ProgramRecord{255, 0, 0, 1, 1, 1},
                priorityTime(1, 5, 1, 5, 1, 1), datedTime(0, 0, 1, 1, 1)});
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsedCount, 3);
    EXPECT_EQ(model.program().SzCount, 2);
    EXPECT_EQ(model.program().PzCount, 1);
}

TEST_F(ProgramFileTest, AstroDeviceSkipsAstroSwitchingTimes)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.RecordCapacity = CapacityAstro;
    model.device.DeviceCode = 80;
    setRecords({weeklyTime(6, 0, 1, 1 | 16), weeklyTime(7, 0, 1, 1), datedTime(8, 0, 1, 1, 2 | 16)});
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{weeklyTime(7, 0, 1, 1)}));
    // the annual device keeps them
    model.device.Uhrentyp = TypeAnnual;
    model.device.RecordCapacity = CapacityAnnual;
    setRecords({weeklyTime(6, 0, 1, 1 | 16), weeklyTime(7, 0, 1, 1)});
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsedCount, 2);
}

TEST_F(ProgramFileTest, LinkBitsAreClearInEveryLoadedRecord)
{
    fillFullAnnual(model);
    ASSERT_TRUE(save());
    ASSERT_EQ(load(dir.file("p.zxp")), LoadResult::Loaded);
    for (const auto &r : records()) {
        ASSERT_EQ(r.b2, 0);
        ASSERT_EQ(r.b3 & 128, 0);
    }
}

TEST_F(ProgramFileTest, AnnualLinkAboveOneHundredFiftySetsFullCapacity)
{
    model.device.RecordCapacity = 150;
    std::array<int, ImageSize> v{};
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.device.RecordCapacity = 324;
    ASSERT_TRUE(save());
    const auto saved = savedValues();
    std::copy(saved.begin(), saved.end(), v.begin());
    model.device.RecordCapacity = 150;
    ASSERT_EQ(LoadProgramText(model, imageText(v), true, 0), LoadResult::Loaded);
    EXPECT_EQ(model.device.RecordCapacity, 150); // chain within 150 slots
    // The one record moved to slot number 150, 151 or 201, the head pointing at it: only a
    // slot beyond the small memory's 150 needs the large one.
    for (const int number : {150, 151, 201}) {
        std::array<int, ImageSize> moved = v;
        for (int j = 0; j < 6; ++j) {
            moved[104 + 6 * (number - 1) + j] = v[104 + j];
            moved[104 + j] = 0;
        }
        moved[100] = 0;
        moved[101] = number;
        fixChecksum(moved);
        model.device.RecordCapacity = 150;
        ASSERT_EQ(LoadProgramText(model, imageText(moved), true, 0), LoadResult::Loaded) << number;
        EXPECT_EQ(model.device.RecordCapacity, number > 150 ? 324 : 150) << number;
        EXPECT_EQ(records(), (std::vector<ProgramRecord>{weeklyTime(6, 0, 1, 1)}));
    }
}

TEST_F(ProgramFileTest, ChangeoverTableGapsAreClosedAndNoTableClearsIt)
{
    std::array<int, ImageSize> v{};
    setRecords({weeklyTime(6, 0, 1, 1)});
    ASSERT_TRUE(save());
    const auto saved = savedValues();
    std::copy(saved.begin(), saved.end(), v.begin());
    v[19] = SwapNibbles(10);
    // entry 0 empty, entry 1 in use
    v[24] = SwapNibbles(27);
    v[25] = SwapNibbles(3);
    v[26] = SwapNibbles(2);
    v[27] = SwapNibbles(25);
    fixChecksum(v);
    ASSERT_EQ(LoadProgramText(model, imageText(v), true, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().DstCount, 1);
    EXPECT_EQ(model.program().DstFirstYear, 10);
    EXPECT_EQ(model.program().DstTable[0], (DstEntry{27, 3, 2, 25}));
    v[19] = 255;
    fixChecksum(v);
    ASSERT_EQ(LoadProgramText(model, imageText(v), true, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().DstCount, 0);
    EXPECT_EQ(model.program().DstFirstYear, 0);
    EXPECT_EQ(model.program().DstTable[0], EmptyDstEntry);
}

TEST_F(ProgramFileTest, ProgramNumberNoneWhenADigitPairIsNoBcd)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    model.program().ProgramNumber = 907;
    ASSERT_TRUE(save());
    auto v = savedValues();
    EXPECT_EQ(v[14], 0x90);
    EXPECT_EQ(v[15], 0x70);
    ASSERT_EQ(LoadProgramText(model, imageText(v), true, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().ProgramNumber, 907);
    v[14] = 0xA0; // swapped 0x0A: not BCD
    fixChecksum(v);
    ASSERT_EQ(LoadProgramText(model, imageText(v), true, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().ProgramNumber, NoProgramNumber);
}

// Six BCD digits: 0 and 999999 go into the image; a number outside them leaves the bytes blank,
// which reads back as no program number.
TEST_F(ProgramFileTest, ProgramNumberRangeInTheImage)
{
    setRecords({weeklyTime(6, 0, 1, 1)});
    const std::pair<qint32, qint32> cases[] = {
        {0, 0}, {1, 1}, {999999, 999999}, {1000000, NoProgramNumber}, {-1, NoProgramNumber}};
    for (const auto &[number, loaded] : cases) {
        SCOPED_TRACE(number);
        model.program().ProgramNumber = number;
        ASSERT_TRUE(save());
        ASSERT_EQ(LoadProgramText(model, imageText(savedValues()), true, 0), LoadResult::Loaded);
        EXPECT_EQ(model.program().ProgramNumber, loaded);
    }
}

// ----- result codes and an unchanged model ---------------------------------------------------

class LoadFailureTest : public ProgramFileTest {
  protected:
    QString before;
    void SetUp() override
    {
        // a program in set 0 and a template in set 1 that a failed load must not touch
        fillFullAnnual(model);
        model.set(1).UsedCount = 1;
        model.set(1).Records[0] = weeklyTime(1, 2, 3, 4);
        model.recount(1);
        model.set(1).FileName = QStringLiteral("template.zxp");
        model.program().FileName = QStringLiteral("program.zxp");
        before = snapshot(model);
    }
    std::array<int, ImageSize> validValues()
    {
        Model m;
        fillFullAnnual(m);
        m.program().FileName = dir.file("valid.zxp");
        ScriptedPrompter p;
        EXPECT_TRUE(SaveProgram(m, p, clock));
        const auto v = ReadImageValues(dir.read("valid.zxp"));
        return v.value_or(std::array<int, ImageSize>{});
    }
    void expectUnchanged() { EXPECT_EQ(snapshot(model), before); }
};

TEST_F(LoadFailureTest, AnySingleChangedNumberMakesTheFileInvalid)
{
    const auto valid = validValues();
    ASSERT_EQ(LoadProgramText(model, imageText(valid), false, 1), LoadResult::Loaded);
    SetUp();
    for (int i = 0; i < ImageSize; ++i) {
        auto v = valid;
        v[i] = (v[i] + 1 + i % 200) % 256; // changed by a value that is no multiple of 256
        ASSERT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid) << "byte " << i;
    }
    expectUnchanged();
}

TEST_F(LoadFailureTest, BadChecksumLeavesBothSetsAndTheDeviceUnchanged)
{
    auto v = validValues();
    v[0] = (v[0] + 1) % 256;
    dir.write("bad.zxp", imageText(v));
    EXPECT_EQ(load(dir.file("bad.zxp"), 0), LoadResult::Invalid);
    expectUnchanged();
    EXPECT_EQ(load(dir.file("bad.zxp"), 1), LoadResult::Invalid);
    expectUnchanged();
}

TEST_F(LoadFailureTest, LoopingChainIsInvalid)
{
    auto v = validValues();
    // slot 10 links back to slot number 5
    v[104 + 6 * 10 + 2] = 5;
    v[104 + 6 * 10 + 3] &= ~8;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    expectUnchanged();
    // a slot that links to itself
    v = validValues();
    v[104 + 2] = 1;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    expectUnchanged();
}

TEST_F(LoadFailureTest, LinkBeyondTheCapacityIsInvalid)
{
    auto v = validValues();
    v[100] = 1; // head 256 + 69 = 325
    v[101] = 69;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    v[101] = 68; // 324 is the last slot: fine
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 1), LoadResult::Loaded);
    EXPECT_EQ(model.set(1).UsedCount, 1);
}

TEST_F(LoadFailureTest, AstroLinkAboveOneHundredTwentyIsInvalid)
{
    Model m;
    fillFullAstro(m);
    m.program().FileName = dir.file("astro.zxp");
    ScriptedPrompter p;
    ASSERT_TRUE(SaveProgram(m, p, clock));
    auto v = *ReadImageValues(dir.read("astro.zxp"));
    model.device.Uhrentyp = TypeAstro;
    model.set(1).UsedCount = 0;
    before = snapshot(model);
    v[104 + 6 * 3 + 2] = 121;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    expectUnchanged();
}

TEST_F(LoadFailureTest, OtherDeviceTypeAndUnknownCodes)
{
    auto v = validValues();
    v[1] = 80;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::OtherType236);
    v[1] = 81;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    expectUnchanged();

    model.device.Uhrentyp = TypeAstro;
    before = snapshot(model);
    for (int code : {72, 73}) {
        v[1] = code;
        fixChecksum(v);
        EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::OtherType517);
    }
    v[1] = 74;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Invalid);
    expectUnchanged();
}

TEST_F(LoadFailureTest, MasterCardChangesNothing)
{
    auto v = validValues();
    v[1] = 72 + 128;
    fixChecksum(v);
    dir.write("master.zxp", imageText(v));
    EXPECT_EQ(load(dir.file("master.zxp")), LoadResult::MasterCard);
    expectUnchanged();
    v[1] = 73 + 128;
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 1), LoadResult::MasterCard);
    expectUnchanged();
}

TEST_F(LoadFailureTest, OtherDeviceGroupWhileTheOtherSetHoldsRecords)
{
    auto v = validValues();
    v[2] |= 8; // bus device
    fixChecksum(v);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 1), LoadResult::GroupConflict);
    expectUnchanged();
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::GroupConflict);
    expectUnchanged();
    // with the other set empty the group changes
    model.set(1).UsedCount = 0;
    model.recount(1);
    EXPECT_EQ(LoadProgramText(model, imageText(v), false, 0), LoadResult::Loaded);
    EXPECT_EQ(model.device.BusDevice, 1);
}

TEST_F(LoadFailureTest, TemplateLoadTakesOnlyTheBusFlagWhenSetZeroIsEmpty)
{
    Model m;
    fillFullAnnual(m);
    m.device.Kanalzahl = 2;
    m.device.BusDevice = 1;
    m.program().FileName = dir.file("bus.zxp");
    ScriptedPrompter p;
    ASSERT_TRUE(SaveProgram(m, p, clock));

    Model t;
    t.device.Kanalzahl = 4;
    ASSERT_EQ(LoadProgram(t, p, dir.file("bus.zxp"), false, 1), LoadResult::Loaded);
    EXPECT_EQ(t.device.BusDevice, 1);
    EXPECT_EQ(t.device.Kanalzahl, 4);
    EXPECT_EQ(t.set(1).UsedCount, 324);
    EXPECT_EQ(t.program().UsedCount, 0);
}

TEST_F(LoadFailureTest, MissingFileStoresOnlyThePath)
{
    EXPECT_EQ(load(dir.file("nothing.zxp"), 1), LoadResult::Missing);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(model.set(1).FileName, dir.file("nothing.zxp"));
    model.set(1).FileName = QStringLiteral("template.zxp");
    expectUnchanged();
}

TEST_F(LoadFailureTest, DirectoryShowsTheSystemTextAndIsUnreadable)
{
    EXPECT_EQ(load(dir.path(), 0), LoadResult::Unreadable);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(prompter.shown[0].message.endsWith(QString::fromLocal8Bit(std::strerror(EISDIR))));
    expectUnchanged();
}

TEST_F(LoadFailureTest, HostileTextsAreInvalid)
{
    const auto valid = validValues();
    const QByteArray good = imageText(valid);
    QByteArray huge(MaxProgramFileSize + 10, ' ');
    huge.replace(0, good.size(), good);
    QByteArray binary;
    for (int i = 0; i < 5000; ++i)
        binary += char((i * 131 + 7) % 256);
    QByteArray overflow = good;
    overflow.replace(0, overflow.indexOf('\r'), "99999999999999999999999999999");
    QByteArray withSign = good;
    withSign.prepend("+");
    QByteArray minus = good;
    minus.replace(0, minus.indexOf('\r'), "-" + QByteArray::number(valid[0]));
    QByteArray decimal = good;
    decimal.replace(0, decimal.indexOf('\r'), QByteArray::number(valid[0]) + ".0");
    QByteArray hex = good;
    hex.replace(0, hex.indexOf('\r'), "0x1");
    QByteArray v256 = good;
    v256.replace(0, v256.indexOf('\r'), "256");

    const QList<QByteArray> cases = {
        {},
        " \r\n,,,",
        good.left(good.size() / 2),
        good.left(good.lastIndexOf('\r', good.size() - 3)), // 2047 numbers
        binary,
        overflow,
        withSign,
        minus,
        decimal,
        hex,
        v256,
        huge,
        QByteArray(3000, '\0'),
        QByteArray("1 2 3\x00 4", 8),
    };
    for (int i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(LoadProgramText(model, cases[i], false, 0), LoadResult::Invalid) << "case " << i;
        EXPECT_EQ(LoadProgramText(model, cases[i], false, 1), LoadResult::Invalid) << "case " << i;
    }
    expectUnchanged();
    // the huge file through the loader
    dir.write("huge.zxp", huge);
    EXPECT_EQ(load(dir.file("huge.zxp")), LoadResult::Invalid);
    expectUnchanged();
}

TEST(ReadImageValues, TakesTheFirst2048NumbersAsTheyStand)
{
    QByteArray text;
    for (int i = 0; i < ImageSize; ++i)
        text += QByteArray::number(i % 256) + (i % 2 ? "," : "   ");
    text += "trailing text, whatever";
    const auto values = ReadImageValues(text);
    ASSERT_TRUE(values.has_value());
    for (int i = 0; i < ImageSize; ++i)
        ASSERT_EQ((*values)[i], i % 256);
    EXPECT_FALSE(ReadImageValues(text.left(text.indexOf("trailing") - 8)).has_value());
    EXPECT_FALSE(ReadImageValues("1 2 3").has_value());
    // card.dat grouping: 4, then 5 per line, then 6 per line
    QByteArray card;
    int n = 0;
    auto line = [&](int count) {
        for (int i = 0; i < count; ++i)
            card += " " + QByteArray::number((n++) % 256) + " ";
        card += "\r\n";
    };
    line(4);
    for (int i = 0; i < 20; ++i)
        line(5);
    for (int i = 0; i < 324; ++i)
        line(6);
    const auto c = ReadImageValues(card);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ((*c)[2047], 2047 % 256);
}

// ----- golden files ----------------------------------------------------------------------------

namespace {

// Loads a file, saves it again and compares every byte; header bytes 0 (checksum) and 4..7
// (moment of saving) may differ, and the checksum must hold.
void expectRoundTrip(const QString &path, int type)
{
    const QByteArray original = readFile(path);
    ASSERT_FALSE(original.isEmpty()) << qPrintable(path);
    Model model;
    model.device.Uhrentyp = type;
    ScriptedPrompter prompter;
    ASSERT_EQ(LoadProgram(model, prompter, path, false, 0), LoadResult::Loaded);
    TempDir dir;
    model.program().FileName = dir.file("again.zxp");
    FixedClock clock(QDateTime(QDate(2031, 12, 31), QTime(23, 59)));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    EXPECT_TRUE(prompter.shown.empty());
    const QByteArray again = dir.read("again.zxp");

    const auto a = ReadImageValues(original);
    const auto b = ReadImageValues(again);
    ASSERT_TRUE(a && b);
    for (int i = 0; i < ImageSize; ++i) {
        if (i == 0 || (i >= 4 && i <= 7))
            continue;
        EXPECT_EQ((*a)[i], (*b)[i]) << "image byte " << i;
    }
    EXPECT_EQ((*b)[4], (23 * 60 + 59) >> 4);
    EXPECT_EQ((*b)[7], 2031 - 1872);
    // the text outside the header lines is byte-identical, whole files compared to the end
    auto withoutHeader = [](const QByteArray &t) {
        QList<QByteArray> lines = t.split('\n');
        for (int i : {0, 4, 5, 6, 7})
            lines[i].clear();
        return lines;
    };
    const auto la = withoutHeader(original);
    const auto lb = withoutHeader(again);
    ASSERT_EQ(la.size(), lb.size());
    for (int i = 0; i < la.size(); ++i)
        EXPECT_EQ(la[i], lb[i]) << "line " << i;
}

} // namespace

TEST(GoldenFiles, FullAnnualFileRoundTrips)
{
    expectRoundTrip(dataFile("full517.zxp"), TypeAnnual);
}

TEST(GoldenFiles, FullAstroFileRoundTrips)
{
    expectRoundTrip(dataFile("full236.zxp"), TypeAstro);
}

TEST(GoldenFiles, FixturesHoldWhatTheirNamesSay)
{
    struct Case {
        const char *name;
        int type;
        LoadResult result;
    };
    const Case cases[] = {
        {"full517.zxp", TypeAnnual, LoadResult::Loaded},
        {"full236.zxp", TypeAstro, LoadResult::Loaded},
        {"full236.zxp", TypeAnnual, LoadResult::OtherType236},
        {"full517.zxp", TypeAstro, LoadResult::OtherType517},
        {"small517-lf-cp1252.zxp", TypeAnnual, LoadResult::Loaded},
        {"broken-checksum.zxp", TypeAnnual, LoadResult::Invalid},
        {"broken-truncated.zxp", TypeAnnual, LoadResult::Invalid},
        {"broken-loop.zxp", TypeAnnual, LoadResult::Invalid},
        {"broken-value256.zxp", TypeAnnual, LoadResult::Invalid},
        {"master517.zxp", TypeAnnual, LoadResult::MasterCard},
        {"master517.zxp", TypeAstro, LoadResult::OtherType517}, // another device's master card
    };
    for (const auto &c : cases) {
        Model model;
        model.device.Uhrentyp = c.type;
        ScriptedPrompter prompter;
        EXPECT_EQ(LoadProgram(model, prompter, dataFile(c.name), false, 0), c.result) << c.name;
    }
    Model model;
    ScriptedPrompter prompter;
    ASSERT_EQ(LoadProgram(model, prompter, dataFile("small517-lf-cp1252.zxp"), false, 0), LoadResult::Loaded);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("Büro Nord"));
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral("Außenlicht "));
    EXPECT_EQ(model.program().UsedCount, 2);
}

// Regenerates the fixtures in tests/data from the sample programs:
//   ZX_WRITE_FIXTURES=tests/data build/tests/zentrix_core_tests
//       --gtest_also_run_disabled_tests --gtest_filter='*WriteFixtures*'
// The golden files are the fixed point of load and save, so a loaded file saves unchanged.
TEST(GoldenFiles, DISABLED_WriteFixtures)
{
    const QString out = qEnvironmentVariable("ZX_WRITE_FIXTURES");
    ASSERT_FALSE(out.isEmpty());
    const QDir dir(out);
    FixedClock clock(QDateTime(QDate(2024, 3, 15), QTime(13, 47)));
    auto writeFull = [&](const char *name, void (*fill)(Model &), int type) {
        Model model;
        model.device.Uhrentyp = type;
        fill(model);
        ScriptedPrompter prompter;
        model.program().FileName = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(SaveProgram(model, prompter, clock));
        for (int i = 0; i < 3; ++i) {
            Model again;
            again.device.Uhrentyp = type;
            ASSERT_EQ(LoadProgram(again, prompter, dir.filePath(QLatin1String(name)), false, 0),
                      LoadResult::Loaded);
            ASSERT_TRUE(SaveProgram(again, prompter, clock));
        }
    };
    writeFull("full517.zxp", fillFullAnnual, TypeAnnual);
    writeFull("full236.zxp", fillFullAstro, TypeAstro);

    auto write = [&](const char *name, const QByteArray &content) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    };
    const QByteArray full = readFile(dir.filePath("full517.zxp"));
    const auto values = *ReadImageValues(full);

    // a small program saved by an older installation: LF line ends, Windows-1252 texts
    {
        Model model;
        model.device.Kanalzahl = 2;
        model.program().Records[0] = weeklyTime(6, 30, 31, 1);
        model.program().Records[1] = datedTime(18, 0, 24, 12, 2, 0);
        model.program().UsedCount = 2;
        model.recount(0);
        model.program().UsageText = QStringLiteral("B_ro Nord");
        model.program().ChannelNames[0] = QStringLiteral("Au_enlicht");
        ScriptedPrompter prompter;
        model.program().FileName = dir.filePath("small.tmp");
        ASSERT_TRUE(SaveProgram(model, prompter, clock));
        QByteArray text = readFile(model.program().FileName);
        QFile::remove(model.program().FileName);
        text.replace("\r\n", "\n");
        text.replace("B_ro", "B\xfcro");
        text.replace("Au_en", "Au\xdf"
                              "en");
        write("small517-lf-cp1252.zxp", text);
    }
    auto v = values;
    v[0] = (v[0] + 1) % 256;
    write("broken-checksum.zxp", imageText(v));
    write("broken-truncated.zxp", full.left(full.size() / 3));
    v = values;
    v[104 + 6 * 10 + 2] = 5;
    v[104 + 6 * 10 + 3] &= ~8;
    fixChecksum(v);
    write("broken-loop.zxp", imageText(v));
    QByteArray big = full;
    big.replace(0, big.indexOf('\r'), "256");
    write("broken-value256.zxp", big);
    v = values;
    v[1] = 72 + 128;
    fixChecksum(v);
    write("master517.zxp", imageText(v));
}

// ----- a file changed on disk since it was read ----------------------------------------------

namespace {

TEST(ProgramFileDiskChangeTest, SaveRefusesToReplaceWhatAnotherProgramSavedMeanwhile)
{
    const TempDir dir;
    const QString path = dir.file(QStringLiteral("p.zxp"));
    const FixedClock clock(SaveMoment);
    ScriptedPrompter prompter;
    {
        Model writer;
        fillFullAnnual(writer);
        writer.program().FileName = path;
        ASSERT_TRUE(SaveProgram(writer, prompter, clock));
    }
    Model m;
    ASSERT_EQ(LoadProgram(m, prompter, path, false, SetProgram), LoadResult::Loaded);
    EXPECT_FALSE(FileChangedOnDisk(m));
    // saving what was loaded, twice, is no conflict: the model knows its own save
    ASSERT_TRUE(SaveProgram(m, prompter, clock));
    ASSERT_TRUE(SaveProgram(m, prompter, clock));

    dir.write(QStringLiteral("p.zxp"), "another program's save");
    EXPECT_TRUE(FileChangedOnDisk(m));
    prompter.shown.clear();
    EXPECT_FALSE(SaveProgram(m, prompter, clock));
    EXPECT_EQ(dir.read(QStringLiteral("p.zxp")), "another program's save");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(prompter.shown[0].message.contains(QStringLiteral("changed on disk")));

    // the user chose to overwrite it
    AcceptDiskVersionLoss(m);
    EXPECT_TRUE(SaveProgram(m, prompter, clock));
    EXPECT_FALSE(FileChangedOnDisk(m));
}

} // namespace
