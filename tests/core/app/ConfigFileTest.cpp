#include "app/ConfigFile.h"

#include "model/Model.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zx;

namespace {

Model configuredModel()
{
    Model m;
    m.device.Kanalzahl = 4;
    m.device.Bewft = 1;
    m.transfer.PortSetting = 2;
    m.device.Uhrentyp = 517;
    m.transfer.Delay = 12; // factor 3, kept multiplied by 4
    m.transfer.PrintHeaderInterval = 50;
    m.transfer.MaxDelay = 120;
    m.device.SwRegel = 4;
    m.options.GermanDisplay = 0;
    m.device.Sprache = 3;
    m.astro.AstroC1C2 = 1;
    m.device.Busprog = -1;
    m.device.MessKanal = 2;
    m.device.MessPeriode = 15;
    m.device.MessImpDauer = 60;
    m.device.MessZustand = 1;
    m.device.MessZeitpunkt = 1;
    m.device.Evu = 1;
    return m;
}

} // namespace

TEST(ConfigFile, WritesEighteenKeyedLinesInFixedOrder)
{
    const QByteArray text = ConfigText(ConfigValuesOf(configuredModel()));
    EXPECT_EQ(text, QByteArray("KANALZAHL=4\r\nBEWFT=1\r\nLPT=2\r\nUHRENTYP=517\r\nDELAY=003\r\n"
                               "ZEILEN=050\r\nMAXDELAY=00120\r\nSWREGEL=4\r\nSPRACHE(Uhr)=0\r\n"
                               "SPRACHE=3\r\nASTROC1C2=001\r\nBUSPROG=-1\r\nMESSKANAL=2\r\n"
                               "MESSPERIODE=015\r\nMESSIMPDAUER=060\r\nMESSZUSTAND=1\r\n"
                               "MESSZEITPUNKT=1\r\nEVU=1\r\n"));
}

TEST(ConfigFile, RoundTripKeepsEverythingButTheSignOfBusprog)
{
    test::TempDir dir;
    const Model written = configuredModel();
    ASSERT_TRUE(WriteConfigFile(written, dir.file("zentrix.ini")));

    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    Model read;
    ApplyConfigValues(read, r.values);
    EXPECT_EQ(read.device.Kanalzahl, 4);
    EXPECT_EQ(read.device.Bewft, 1);
    EXPECT_EQ(read.transfer.PortSetting, 2);
    EXPECT_EQ(read.device.Uhrentyp, 517);
    EXPECT_EQ(read.transfer.Delay, 12);
    EXPECT_EQ(read.transfer.PrintHeaderInterval, 50);
    EXPECT_EQ(read.transfer.MaxDelay, 120);
    EXPECT_EQ(read.device.SwRegel, 4);
    EXPECT_EQ(read.options.GermanDisplay, 0);
    EXPECT_EQ(read.device.Sprache, 3);
    EXPECT_EQ(read.astro.AstroC1C2, 1);
    EXPECT_EQ(read.device.Busprog, 1); // only the last character of "-1" is read
    EXPECT_EQ(read.device.MessKanal, 2);
    EXPECT_EQ(read.device.MessPeriode, 15);
    EXPECT_EQ(read.device.MessImpDauer, 60);
    EXPECT_EQ(read.device.MessZustand, 1);
    EXPECT_EQ(read.device.MessZeitpunkt, 1);
    EXPECT_EQ(read.device.Evu, 1);
}

TEST(ConfigFile, OneDigitHeaderIntervalSurvives)
{
    test::TempDir dir;
    Model m;
    for (int lines : {0, 5, 9, 10, 99, 999}) {
        m.transfer.PrintHeaderInterval = lines;
        ASSERT_TRUE(WriteConfigFile(m, dir.file("zentrix.ini")));
        EXPECT_EQ(ReadConfigValues(dir.file("zentrix.ini")).values[5], lines);
    }
    m.transfer.PrintHeaderInterval = 5;
    EXPECT_TRUE(ConfigText(ConfigValuesOf(m)).contains("\r\nZEILEN=005\r\n"));
}

TEST(ConfigFile, DelayIsKeptFourTimesFiner)
{
    Model m;
    ConfigValues v = ConfigValuesOf(m);
    v[4] = 7;
    ApplyConfigValues(m, v);
    EXPECT_EQ(m.transfer.Delay, 28);
    EXPECT_EQ(ConfigValuesOf(m)[4], 7);
}

struct WidthCase {
    const char *line;
    int value;
};

class ConfigReaderWidth : public ::testing::TestWithParam<WidthCase> {};

// The reader takes the last characters by position, whatever the key says.
TEST_P(ConfigReaderWidth, LastCharactersByPosition)
{
    test::TempDir dir;
    QByteArray text = ConfigText(ConfigValuesOf(Model()));
    QList<QByteArray> lines = text.split('\n');
    lines[3] = QByteArray(GetParam().line) + "\r"; // UHRENTYP line, width 3
    dir.write("zentrix.ini", lines.join('\n'));
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    EXPECT_EQ(r.values[3], GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Uhrentyp, ConfigReaderWidth,
                         ::testing::Values(WidthCase{"UHRENTYP=236", 236}, WidthCase{"WHATEVER1517", 517},
                                           WidthCase{"UHRENTYP=5", 0}, // "P=5" is no number
                                           WidthCase{"UHRENTYP= 42", 42}, WidthCase{"236", 236},
                                           WidthCase{"17", 17}, WidthCase{"", 0},
                                           WidthCase{"UHRENTYP=-17", -17}, WidthCase{"X=1x7", 1}));

TEST(ConfigFile, AcceptsPlainLineFeeds)
{
    test::TempDir dir;
    dir.write("zentrix.ini", ConfigText(ConfigValuesOf(configuredModel())).replace("\r\n", "\n"));
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    ConfigValues expected = ConfigValuesOf(configuredModel());
    expected[11] = 1; // BUSPROG -1
    EXPECT_EQ(r.values, expected);
}

// An editor may leave the last line without its line end: the last value is read all the same.
TEST(ConfigFile, LastLineWithoutItsLineEndCounts)
{
    test::TempDir dir;
    QByteArray text = ConfigText(ConfigValuesOf(configuredModel()));
    ASSERT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    dir.write("zentrix.ini", text);
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    EXPECT_EQ(r.values.back(), ConfigValuesOf(configuredModel()).back());
}

TEST(ConfigFile, ExtraLinesAreIgnored)
{
    test::TempDir dir;
    dir.write("zentrix.ini", ConfigText(ConfigValuesOf(configuredModel())) + "NOTE=9\r\n");
    EXPECT_EQ(ReadConfigValues(dir.file("zentrix.ini")).status, ConfigStatus::Read);
}

TEST(ConfigFile, MissingAndShortFilesAreReported)
{
    test::TempDir dir;
    EXPECT_EQ(ReadConfigValues(dir.file("zentrix.ini")).status, ConfigStatus::Missing);

    QByteArray text = ConfigText(ConfigValuesOf(configuredModel()));
    text.truncate(text.lastIndexOf("EVU="));
    dir.write("zentrix.ini", text);
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    EXPECT_EQ(r.status, ConfigStatus::Short);
    EXPECT_EQ(r.lineCount, 17);
}

TEST(ConfigFile, UnreadableFileGivesSystemText)
{
    test::TempDir dir;
    QDir(dir.path()).mkdir("zentrix.ini"); // a folder cannot be read as a file
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    EXPECT_EQ(r.status, ConfigStatus::Error);
    EXPECT_FALSE(r.errorText.isEmpty());
}

TEST(ConfigFile, WriteFailureGivesSystemText)
{
    test::TempDir dir;
    QString error;
    EXPECT_FALSE(WriteConfigFile(Model(), dir.file("no/such/folder/zentrix.ini"), &error));
    // the message names the file and what its loss means
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(dir.file("no/such/folder/zentrix.ini"))))
        << error.toStdString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Settings not saved"))) << error.toStdString();
}

TEST(ConfigFile, DefaultsAreTheBrandsFirstModel)
{
    Model m;
    m.BrandNumber = 4; // offers only S14
    m.device.Kanalzahl = 1;
    m.device.Sprache = 3;
    m.transfer.Delay = 40;
    ApplyConfigDefaults(m);
    EXPECT_EQ(m.device.Kanalzahl, 4);
    EXPECT_EQ(m.device.Bewft, 1);
    EXPECT_EQ(m.device.Busprog, -1);
    EXPECT_EQ(m.device.DeviceCode, 73);
    EXPECT_EQ(m.device.Sprache, Model().device.Sprache);
    EXPECT_EQ(m.transfer.Delay, Model().transfer.Delay);
    EXPECT_EQ(m.device.SwRegel, 1);

    m.BrandNumber = 1;
    ApplyConfigDefaults(m);
    EXPECT_EQ(m.device.Kanalzahl, 1);
    EXPECT_EQ(m.device.Bewft, 0);
    EXPECT_EQ(m.device.Busprog, 0);
}

TEST(ConfigNumber, LeadingDigitsOnly)
{
    EXPECT_EQ(ConfigNumber("007"), 7);
    EXPECT_EQ(ConfigNumber("-1"), -1);
    EXPECT_EQ(ConfigNumber("=1"), 0);
    EXPECT_EQ(ConfigNumber("99999999"), 32767);
}

// A damaged file: each value outside its range falls back to the default a missing file gives
// for the brand, the values in range stay as read.
struct OutOfRangeCase {
    const char *line; // the line as the file holds it
    int index;        // its position (0-based)
};

class ConfigOutOfRange : public ::testing::TestWithParam<OutOfRangeCase> {};

TEST_P(ConfigOutOfRange, FallsBackToTheBrandsDefault)
{
    test::TempDir dir;
    QByteArray text = ConfigText(ConfigValuesOf(configuredModel()));
    QList<QByteArray> lines = text.split('\n');
    lines[GetParam().index] = QByteArray(GetParam().line) + '\r';
    dir.write("zentrix.ini", lines.join('\n'));
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);

    Model read;
    read.BrandNumber = 4; // offers only S14: 4 channels, Bewft 1, Busprog -1
    ApplyConfigValues(read, r.values);
    Model defaults;
    defaults.BrandNumber = 4;
    ApplyConfigDefaults(defaults);
    const ConfigValues got = ConfigValuesOf(read);
    const ConfigValues expected = ConfigValuesOf(defaults);
    const ConfigValues configured = ConfigValuesOf(configuredModel());
    for (int i = 0; i < ConfigLines; ++i) {
        if (i == GetParam().index) {
            EXPECT_EQ(got[i], expected[i]) << "line " << i;
        } else if (i != 11) { // Busprog -1 reads back as 1
            EXPECT_EQ(got[i], configured[i]) << "line " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ConfigOutOfRange,
                         ::testing::Values(OutOfRangeCase{"KANALZAHL=9", 0}, OutOfRangeCase{"KANALZAHL=0", 0},
                                           OutOfRangeCase{"UHRENTYP=999", 3}, OutOfRangeCase{"SWREGEL=7", 7},
                                           OutOfRangeCase{"SPRACHE=9", 9}, OutOfRangeCase{"MESSKANAL=9", 12},
                                           OutOfRangeCase{"MESSPERIODE=07", 13},
                                           OutOfRangeCase{"MESSIMPDAUER=99", 14},
                                           OutOfRangeCase{"EVU=2", 17}));

namespace {

// Both edges of every line's range, one step inside and one outside (line positions 0-based).
struct RangeEdge {
    int line;
    int value;
    bool inRange;
};

class ConfigRanges : public ::testing::TestWithParam<RangeEdge> {};

} // namespace

TEST_P(ConfigRanges, AcceptUpToTheEdge)
{
    EXPECT_EQ(ConfigValueInRange(GetParam().line, GetParam().value), GetParam().inRange);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ConfigRanges,
    ::testing::Values(
        // KANALZAHL 1..8, BEWFT 0..1, LPT 1..9, UHRENTYP 517 or 236
        RangeEdge{0, 0, false}, RangeEdge{0, 1, true}, RangeEdge{0, 8, true}, RangeEdge{0, 9, false},
        RangeEdge{1, -1, false}, RangeEdge{1, 0, true}, RangeEdge{1, 1, true}, RangeEdge{1, 2, false},
        RangeEdge{2, 0, false}, RangeEdge{2, 1, true}, RangeEdge{2, 9, true}, RangeEdge{2, 10, false},
        RangeEdge{3, 517, true}, RangeEdge{3, 236, true}, RangeEdge{3, 518, false}, RangeEdge{3, 0, false},
        // DELAY, ZEILEN, MAXDELAY: any count from 0
        RangeEdge{4, -1, false}, RangeEdge{4, 0, true}, RangeEdge{5, -1, false}, RangeEdge{5, 0, true},
        RangeEdge{6, -1, false}, RangeEdge{6, 0, true}, RangeEdge{6, 32767, true},
        // SWREGEL 0..4, SPRACHE 1..4, BUSPROG -1..1, MESSKANAL 0..4
        RangeEdge{7, -1, false}, RangeEdge{7, 0, true}, RangeEdge{7, 4, true}, RangeEdge{7, 5, false},
        RangeEdge{9, 0, false}, RangeEdge{9, 1, true}, RangeEdge{9, 4, true}, RangeEdge{9, 5, false},
        RangeEdge{11, -2, false}, RangeEdge{11, -1, true}, RangeEdge{11, 1, true}, RangeEdge{11, 2, false},
        RangeEdge{12, -1, false}, RangeEdge{12, 0, true}, RangeEdge{12, 4, true}, RangeEdge{12, 5, false},
        // MESSPERIODE: the divisors of an hour that the meter offers
        RangeEdge{13, 0, false}, RangeEdge{13, 1, true}, RangeEdge{13, 7, false}, RangeEdge{13, 60, true},
        RangeEdge{13, 61, false},
        // MESSIMPDAUER 1..60, the flags 0..1
        RangeEdge{14, 0, false}, RangeEdge{14, 1, true}, RangeEdge{14, 60, true}, RangeEdge{14, 61, false},
        RangeEdge{8, 2, false}, RangeEdge{10, 1, true}, RangeEdge{15, -1, false}, RangeEdge{16, 1, true},
        RangeEdge{17, 2, false}, RangeEdge{17, 0, true}));

// "ZEILEN=0" carries one padding zero for a three-character value: the writer supplies the
// second, so that the file always holds the value in full.
TEST(ConfigFile, ZeilenIsWrittenInThreeDigits)
{
    for (const auto &[rows, line] : {std::pair{0, "ZEILEN=000\r\n"}, std::pair{5, "ZEILEN=005\r\n"},
                                     std::pair{50, "ZEILEN=050\r\n"}, std::pair{120, "ZEILEN=0120\r\n"}}) {
        ConfigValues values = ConfigValuesOf(configuredModel());
        values[5] = rows;
        EXPECT_TRUE(ConfigText(values).contains(line)) << line;
    }
}
