// zentrix-cli simulate: the day plan of a year, or one channel's day, as the simulation window
// computes them.
#include "CliTexts.h"
#include "Commands.h"
#include "UsageProblems.h"

#include "model/Calendar.h"
#include "model/Model.h"
#include "output/ExportFile.h"
#include "output/ICalendarExport.h"
#include "output/YearSimulation.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {

namespace {

// The year as an iCalendar file ("-": standard output).
int writeCalendar(const Options &o, const Model &model, const QString &source, const QString &out, int year,
                  int channel)
{
    CalendarRequest request;
    request.year = year;
    request.channel = channel;
    request.utcOffsetMinutes = DeviceUtcOffsetMinutes(model, year);
    request.stamp = QDateTime::currentDateTimeUtc();
    const QByteArray ics = YearCalendar(model, request);
    if (isStdio(out)) {
        printBytes(ics);
        return 0;
    }
    // the program file is never replaced by what is made from it, --force or not
    if (IsSameFile(source, out))
        return fail(out, cliText(CliText::SameAsInput, o.language()));
    if (!mayCreate(o, out))
        return 1;
    const QString error = WriteExportFile(out, ics, source, model.device.Sprache);
    // the text names the file already
    if (!error.isEmpty())
        return fail(QString(error).replace(u'\n', QStringLiteral(": ")));
    return 0;
}

} // namespace

int runSimulate(Options &o)
{
    const auto type = o.deviceType();
    const auto year = o.integer("--year", {CalendarFirstYear, CalendarLastYear});
    const auto channel = o.integer("--channel", {1, SimulationChannels});
    QDate date;
    if (o.has("--date")) {
        date = QDate::fromString(o.value("--date"), Qt::ISODate);
        if (!date.isValid() || date.year() < CalendarFirstYear || date.year() > CalendarLastYear)
            return o.badValue(
                "--date", QStringLiteral("YYYY-MM-DD, %1..%2").arg(CalendarFirstYear).arg(CalendarLastYear));
    }
    const QString ics = o.value("--ics");
    if (o.has("--ics") && ics.isEmpty())
        return o.badValue("--ics", QStringLiteral("OUT.ics"));
    if (o.failed())
        return 2;
    const bool calendar = !ics.isEmpty() && year && !date.isValid();
    const bool plan = ics.isEmpty() && year && !channel && !date.isValid();
    const bool day = ics.isEmpty() && !year && channel && date.isValid();
    if (o.positional.size() != 1 || int(calendar) + int(plan) + int(day) != 1)
        return o.usageError(SimulateUsageProblem(o));
    const QString path = o.positional.first();

    Model model;
    if (!loadProgramOrTell(model, o, path, type.value_or(0)))
        return 1;
    const bool json = o.has("--json");
    const YearSimulation simulation(model);
    if (channel && *channel > simulation.channels())
        return o.badValue("--channel",
                          cliText(CliText::ProgramHasChannels, o.language()).arg(simulation.channels()));
    if (calendar)
        return writeCalendar(o, model, path, ics, *year, channel.value_or(0));
    if (plan) {
        const DayPlan p = simulation.dayPlan(*year);
        QJsonArray days;
        QByteArray out;
        for (int d = 1; d <= p.days; ++d) {
            QJsonArray codes;
            out += QByteArray::number(d);
            for (int c = 1; c <= p.channels; ++c) {
                out += ' ' + QByteArray::number(p.code(d, c));
                codes.append(p.code(d, c));
            }
            out += '\n';
            days.append(QJsonObject{{QStringLiteral("day"), d}, {QStringLiteral("channels"), codes}});
        }
        printBytes(json ? QJsonDocument(days).toJson(QJsonDocument::Indented) : out);
        return 0;
    }
    const DayPlan p = simulation.dayPlan(date.year());
    QJsonArray segments;
    for (const DaySegment &s :
         simulation.daySegments(p, *channel, DayOfYear(date.day(), date.month(), date.year()))) {
        if (json)
            segments.append(
                QJsonObject{{QStringLiteral("state"), s.state}, {QStringLiteral("minutes"), s.minutes}});
        else
            printLine(QStringLiteral("%1 %2").arg(s.state).arg(s.minutes));
    }
    if (json)
        printBytes(QJsonDocument(segments).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace zx::cli
