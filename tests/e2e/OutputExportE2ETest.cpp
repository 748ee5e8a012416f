// The year as iCalendar and the lists as CSV, read back by independent parsers (Python's
// icalendar package and csv module).
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/CliRunner.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <gtest/gtest.h>

using namespace zx;

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

using Output = zx::test::CliRun;

// The device's winter time is the computer's: UTC here, so the expected moments are plain.
Output runProgram(const QString &program, const QStringList &args)
{
    zx::test::CliOptions options;
    options.program = program;
    options.environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    return zx::test::RunCli(args, options);
}

Output cli(const QStringList &args)
{
    return runProgram(QStringLiteral(ZX_CLI), args);
}

// "channel kind start end summary" per event, in UTC, as the parser understands the file.
const char *const ReadCalendar = R"(
import sys, re, datetime
from icalendar import Calendar
utc = datetime.timezone.utc
for ev in Calendar.from_ical(open(sys.argv[1], 'rb').read()).walk('VEVENT'):
    start = ev.decoded('DTSTART').astimezone(utc)
    pulse = 'DURATION' in ev
    end = start + ev.decoded('DURATION') if pulse else ev.decoded('DTEND').astimezone(utc)
    print(re.search(r'-c(\d+)-', str(ev['UID'])).group(1), 'pulse' if pulse else 'on',
          start.strftime('%Y-%m-%dT%H:%M:%S'), end.strftime('%Y-%m-%dT%H:%M:%S'), ev['SUMMARY'])
)";

const char *const ReadCsv = R"(
import sys, csv, json
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    print(json.dumps(list(csv.reader(f)), ensure_ascii=False))
)";

class OutputExportE2E : public ::testing::Test {
  protected:
    test::TempDir dir;
    QString file = dir.file(QStringLiteral("hall.zxp"));

    void SetUp() override
    {
        if (!QFile::exists(Python))
            GTEST_SKIP() << "/usr/bin/python3 is missing: the exports are not read back";
        Model m;
        m.device.Kanalzahl = 2;
        m.device.SwRegel = RuleEurope;
        // Channel 1: ON every evening at 22:00, OFF at 06:00; channel 2: ON from 29 March 12:00 to
        // 25 October 12:00, and a 7 s bell at 01:30 every Sunday.
        m.appendRecord(SetProgram, test::weeklyTime(22, 0, 127, 1, 1));
        m.appendRecord(SetProgram, test::weeklyTime(6, 0, 127, 1, 0));
        m.appendRecord(SetProgram, test::datedTime(12, 0, 29, 3, 2, 1));
        m.appendRecord(SetProgram, test::datedTime(12, 0, 25, 10, 2, 0));
        m.appendRecord(SetProgram, test::weeklyTime(1, 30, 64, 2, 1, 0, 7));
        m.program().ChannelNames[0] = QStringLiteral("Hall; east\\ ");
        m.program().FileName = file;
        test::ScriptedPrompter prompter;
        ASSERT_TRUE(SaveProgram(m, prompter, FixedClock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)))));
    }
};

// 2026 summer time runs from 29 March 01:00 UTC to 25 October 01:00 UTC, one hour ahead.
QString utcOfLocal(const QDate &day, int minute)
{
    const QDateTime local(day, QTime(0, 0).addSecs(minute * 60), Qt::UTC);
    const QDateTime summer = local.addSecs(-3600);
    const bool inSummer = summer >= QDateTime(QDate(2026, 3, 29), QTime(1, 0), Qt::UTC) &&
                          summer < QDateTime(QDate(2026, 10, 25), QTime(1, 0), Qt::UTC);
    return (inSummer ? summer : local).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

TEST_F(OutputExportE2E, CalendarHoldsEveryOnPeriodAcrossTheChangeovers)
{
    if (runProgram(Python, {QStringLiteral("-c"), QStringLiteral("import icalendar")}).exitCode != 0)
        GTEST_SKIP() << "python3-icalendar is not installed: the calendar is not read back";
    const QString ics = dir.file(QStringLiteral("hall.ics"));
    ASSERT_EQ(cli({QStringLiteral("simulate"), file, QStringLiteral("--year"), QStringLiteral("2026"),
                   QStringLiteral("--ics"), ics})
                  .exitCode,
              0);
    const Output read = runProgram(Python, {QStringLiteral("-c"), QString::fromLatin1(ReadCalendar), ics});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    QSet<QString> starts, ends;
    int pulses = 0;
    for (const QString &line : QString::fromUtf8(read.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '));
        starts << f[0] + QLatin1Char(' ') + f[2];
        ends << f[0] + QLatin1Char(' ') + f[3];
        pulses += f[1] == QLatin1String("pulse");
        if (f[0] == QLatin1String("1")) {
            EXPECT_EQ(line.section(QLatin1Char(' '), 4), QStringLiteral("C1 Hall; east\\ ON"));
        }
    }
    EXPECT_EQ(pulses, 52); // the Sundays of 2026
    // The bell rings before the clock goes forward on 29 March, after it on 5 April.
    EXPECT_TRUE(starts.contains(QStringLiteral("2 2026-03-29T01:30:00")));
    EXPECT_TRUE(ends.contains(QStringLiteral("2 2026-03-29T01:30:07")));
    EXPECT_TRUE(starts.contains(QStringLiteral("2 2026-04-05T00:30:00")));

    // Every switching that zentrix-cli simulate shows around both changeover days.
    int checked = 0;
    for (const QDate &first : {QDate(2026, 3, 27), QDate(2026, 10, 23)}) {
        for (int channel = 1; channel <= 2; ++channel) {
            for (QDate day = first; day < first.addDays(4); day = day.addDays(1)) {
                const Output segments =
                    cli({QStringLiteral("simulate"), file, QStringLiteral("--channel"),
                         QString::number(channel), QStringLiteral("--date"), day.toString(Qt::ISODate)});
                ASSERT_EQ(segments.exitCode, 0);
                int minute = 0, level = -1;
                for (const QByteArray &l : segments.out.split('\n')) {
                    const QList<QByteArray> v = l.split(' ');
                    if (v.size() != 2)
                        continue;
                    const int state = v[0].toInt();
                    // A pulse leaves the switched level as it was.
                    if ((state & 2) == 0 && level >= 0 && (state & 1) != level) {
                        const QString at =
                            QString::number(channel) + QLatin1Char(' ') + utcOfLocal(day, minute);
                        EXPECT_TRUE((state & 1) ? starts.contains(at) : ends.contains(at)) << qPrintable(at);
                        ++checked;
                    }
                    if ((state & 2) == 0)
                        level = state & 1;
                    minute += v[1].toInt();
                }
            }
        }
    }
    EXPECT_EQ(checked, 4 * 2 * 2 + 2); // channel 1 twice a day, channel 2 on both changeover days
}

// The table holds values a spreadsheet computes with, one field each, written to standard output
// with --out - and read back by Python's csv module.
TEST_F(OutputExportE2E, CsvReadsBackAsValuesUnderNamedFields)
{
    const QString csv = dir.file(QStringLiteral("hall.csv"));
    zx::test::CliOptions toFile;
    toFile.outputFile = csv;
    const zx::test::CliRun written = zx::test::RunCli(
        {QStringLiteral("export"), file, QStringLiteral("--lists"), QStringLiteral("switching,changeover"),
         QStringLiteral("--out"), QStringLiteral("-"), QStringLiteral("--format=csv")},
        toFile);
    ASSERT_EQ(written.exitCode, 0) << written.err.constData();
    const Output read = runProgram(Python, {QStringLiteral("-c"), QString::fromLatin1(ReadCsv), csv});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    QList<QStringList> got;
    for (const QJsonValue &row : QJsonDocument::fromJson(read.out).array())
        got << row.toVariant().toStringList();
    const QStringList switchingHeader{"row",      "kind",  "weekdays", "date",  "once",   "time",
                                      "channels", "pulse", "state",    "value", "program"};
    const QStringList changeoverHeader{"row",           "year",    "advance",      "advance_time",
                                       "advance_shift", "setback", "setback_time", "setback_shift"};
    ASSERT_EQ(got.size(), 1 + 5 + 1 + 1) << read.out.toStdString();
    EXPECT_EQ(got[0], switchingHeader);
    EXPECT_EQ(got[6], QStringList()); // the empty line between two lists
    EXPECT_EQ(got[7], changeoverHeader);
    // the rows in the list's order, numbered; compared without their numbers
    QList<QStringList> rows;
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(got[i].value(0), QString::number(i));
        rows << got[i].mid(1);
    }
    const QList<QStringList> expected = {
        {"weekly", "mo tu we th fr sa su", "", "", "22:00", "1", "", "on", "", ""},
        {"weekly", "mo tu we th fr sa su", "", "", "06:00", "1", "", "off", "", ""},
        {"dated", "", "03-29", "0", "12:00", "2", "", "on", "", ""},
        {"dated", "", "10-25", "0", "12:00", "2", "", "off", "", ""},
        {"weekly", "su", "", "", "01:30", "2", "7", "on", "", ""},
    };
    for (const QStringList &row : expected)
        EXPECT_TRUE(rows.contains(row)) << row.join(u',').toStdString() << "\n" << read.out.toStdString();

    // Neither export replaces the program file it is made from.
    const QByteArray before = dir.read(QStringLiteral("hall.zxp"));
    for (const char *command : {"simulate --year 2026 --ics", "export --out"}) {
        const QStringList words = QString::fromLatin1(command).split(QLatin1Char(' '));
        const Output refused = cli(QStringList{words[0], file} + words.mid(1) + QStringList{file});
        EXPECT_EQ(refused.exitCode, 1) << command;
        EXPECT_TRUE(refused.err.contains("program file")) << refused.err.toStdString();
        EXPECT_EQ(refused.err.count(file.toUtf8()), 1) << refused.err.toStdString();
    }
    EXPECT_EQ(dir.read(QStringLiteral("hall.zxp")), before);
}

} // namespace
