// The year as iCalendar and the lists as CSV, read back by independent parsers (Python's
// icalendar package and csv module).
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace zx;

namespace {

const char *const Python = "/usr/bin/python3";

struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The device's winter time is the computer's: UTC here, so the expected moments are plain.
ProcessRun runProgram(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProcessRun r;
    if (!p.waitForStarted(10000))
        return r;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

ProcessRun cli(const QStringList &args)
{
    return runProgram(QStringLiteral(ZX_CLI), args);
}

bool pythonHas(const char *module)
{
    return runProgram(QString::fromLatin1(Python), {QStringLiteral("-c"), QStringLiteral("import %1").arg(QLatin1String(module))})
               .exitCode == 0;
}

// Prints "channel kind start end" per event, in UTC ISO form, as the parser understands the file.
const char *const ReadCalendar = R"(
import sys, re, datetime
from icalendar import Calendar
cal = Calendar.from_ical(open(sys.argv[1], 'rb').read())
utc = datetime.timezone.utc
for ev in cal.walk('VEVENT'):
    channel = re.search(r'-c(\d+)-', str(ev['UID'])).group(1)
    start = ev.decoded('DTSTART').astimezone(utc)
    if 'DURATION' in ev:
        end = start + ev.decoded('DURATION')
        kind = 'pulse'
    else:
        end = ev.decoded('DTEND').astimezone(utc)
        kind = 'on'
    print(channel, kind, start.strftime('%Y-%m-%dT%H:%M:%S'), end.strftime('%Y-%m-%dT%H:%M:%S'), ev['SUMMARY'])
)";

const char *const ReadCsv = R"(
import sys, csv, json
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    print(json.dumps(list(csv.reader(f)), ensure_ascii=False))
)";

class OutputExportE2E : public ::testing::Test {
  protected:
    test::TempDir dir;
    QString file;
    Model model;

    void SetUp() override
    {
        model.device.Kanalzahl = 2;
        model.device.SwRegel = RuleEurope;
        // Channel 1: ON every evening at 22:00, OFF at 06:00; channel 2: ON from 29 March 12:00 to
        // 25 October 12:00, and a 7 s bell at 01:30 every Sunday.
        model.appendRecord(SetProgram, test::weeklyTime(22, 0, 127, 1, 1));
        model.appendRecord(SetProgram, test::weeklyTime(6, 0, 127, 1, 0));
        model.appendRecord(SetProgram, test::datedTime(12, 0, 29, 3, 2, 1));
        model.appendRecord(SetProgram, test::datedTime(12, 0, 25, 10, 2, 0));
        model.appendRecord(SetProgram, test::weeklyTime(1, 30, 64, 2, 1, 0, 7));
        model.program().ChannelNames[0] = QStringLiteral("Hall; east\\ ");
        model.program().UsageText = QStringLiteral("Town hall; \"main\" building");
        file = dir.file(QStringLiteral("hall.zxp"));
        model.program().FileName = file;
        test::ScriptedPrompter prompter;
        FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
        ASSERT_TRUE(SaveProgram(model, prompter, clock));
    }
};

// 2026 summer time: from 29 March 01:00 UTC to 25 October 01:00 UTC, one hour ahead.
QDateTime utcOfLocal(const QDate &day, int minute)
{
    const QDateTime local(day, QTime(0, 0).addSecs(minute * 60), Qt::UTC);
    const QDateTime summerStart(QDate(2026, 3, 29), QTime(1, 0), Qt::UTC);
    const QDateTime summerEnd(QDate(2026, 10, 25), QTime(1, 0), Qt::UTC);
    const QDateTime ifSummer = local.addSecs(-3600);
    return ifSummer >= summerStart && ifSummer < summerEnd ? ifSummer : local;
}

TEST_F(OutputExportE2E, CalendarHoldsEveryOnPeriodAcrossTheChangeovers)
{
    if (!QFile::exists(QString::fromLatin1(Python)) || !pythonHas("icalendar"))
        GTEST_SKIP() << "python3-icalendar is not installed: the calendar is not read back";
    const QString ics = dir.file(QStringLiteral("hall.ics"));
    ProcessRun r = cli({QStringLiteral("simulate"), file, QStringLiteral("--year"), QStringLiteral("2026"),
                 QStringLiteral("--ics"), ics});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runProgram(QString::fromLatin1(Python), {QStringLiteral("-c"), QString::fromLatin1(ReadCalendar), ics});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QSet<QString> starts, ends;
    int pulses = 0;
    for (const QString &line : QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '));
        starts << f[0] + QLatin1Char(' ') + f[2];
        ends << f[0] + QLatin1Char(' ') + f[3];
        pulses += f[1] == QLatin1String("pulse");
        if (f[0] == QLatin1String("1") && f[1] == QLatin1String("on"))
            EXPECT_EQ(line.section(QLatin1Char(' '), 4), QStringLiteral("C1 Hall; east\\ ON"));
    }
    EXPECT_EQ(pulses, 52); // Sundays of 2026
    // The Sunday bell rings before the clock goes forward on 29 March, after it on 5 April.
    EXPECT_TRUE(starts.contains(QStringLiteral("2 2026-03-29T01:30:00")));
    EXPECT_TRUE(ends.contains(QStringLiteral("2 2026-03-29T01:30:07")));
    EXPECT_TRUE(starts.contains(QStringLiteral("2 2026-04-05T00:30:00")));

    // Every ON period zentrix-cli simulate shows around both changeover days.
    int checked = 0;
    for (const QDate &first : {QDate(2026, 3, 27), QDate(2026, 10, 23)}) {
        for (int channel = 1; channel <= 2; ++channel) {
            for (QDate day = first; day < first.addDays(4); day = day.addDays(1)) {
                const ProcessRun seg = cli({QStringLiteral("simulate"), file, QStringLiteral("--channel"),
                                     QString::number(channel), QStringLiteral("--date"), day.toString(Qt::ISODate)});
                ASSERT_EQ(seg.exitCode, 0);
                int minute = 0;
                int level = -1;
                for (const QByteArray &l : seg.out.split('\n')) {
                    const QList<QByteArray> v = l.split(' ');
                    if (v.size() != 2)
                        continue;
                    const int state = v[0].toInt();
                    if ((state & 2) == 0) {
                        if (level >= 0 && (state & 1) != level) {
                            const QString at = QString::number(channel) + QLatin1Char(' ') +
                                               utcOfLocal(day, minute).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
                            EXPECT_TRUE((state & 1) ? starts.contains(at) : ends.contains(at)) << at.toStdString();
                            ++checked;
                        }
                        level = state & 1;
                    }
                    minute += v[1].toInt();
                }
            }
        }
    }
    EXPECT_EQ(checked, 4 * 2 * 2 + 2); // channel 1 twice a day, channel 2 on both changeover days
}

TEST_F(OutputExportE2E, CsvReadsBackAsTheListRows)
{
    if (!QFile::exists(QString::fromLatin1(Python)))
        GTEST_SKIP() << "/usr/bin/python3 is missing: the CSV is not read back";
    const QString csv = dir.file(QStringLiteral("hall.csv"));
    ProcessRun r = cli({QStringLiteral("export"), file, QStringLiteral("--lists"), QStringLiteral("switching,changeover"),
                 QStringLiteral("--out"), csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runProgram(QString::fromLatin1(Python), {QStringLiteral("-c"), QString::fromLatin1(ReadCsv), csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList got;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out);
    for (const QJsonValue &row : doc.array())
        got << row.toVariant().toStringList().join(QLatin1Char('\x1f'));

    Model loaded;
    test::ScriptedPrompter prompter;
    ASSERT_EQ(LoadProgram(loaded, prompter, file, false, SetProgram), LoadResult::Loaded);
    QStringList expected;
    for (int kind : {ListSwitching, ListChangeover}) {
        if (!expected.isEmpty())
            expected << QString();
        const ListTable t = views::BuildList(loaded, kind, SetProgram);
        expected << t.header.join(QLatin1Char('\x1f'));
        for (const ListRow &row : t.rows)
            expected << row.cells.join(QLatin1Char('\x1f'));
    }
    EXPECT_EQ(got, expected);
}

TEST_F(OutputExportE2E, NeitherExportReplacesTheProgramFile)
{
    const QByteArray before = dir.read(QStringLiteral("hall.zxp"));
    ASSERT_TRUE(QFile::link(file, dir.file(QStringLiteral("same.csv"))));
    for (const QStringList &args :
         {QStringList{QStringLiteral("simulate"), file, QStringLiteral("--year"), QStringLiteral("2026"),
                      QStringLiteral("--ics"), file},
          QStringList{QStringLiteral("export"), file, QStringLiteral("--out"), dir.file(QStringLiteral("same.csv"))}}) {
        const ProcessRun r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("program file")) << r.err.toStdString();
    }
    EXPECT_EQ(dir.read(QStringLiteral("hall.zxp")), before);
    EXPECT_EQ(cli({QStringLiteral("simulate"), file, QStringLiteral("--ics"), dir.file(QStringLiteral("x.ics"))}).exitCode, 2);
}

} // namespace
