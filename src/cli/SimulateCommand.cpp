// zentrix-cli simulate: the day plan of a year, or one channel's day, as the simulation window
// computes them.
#include "CliTexts.h"
#include "Commands.h"

#include "calendar/Calendar.h"
#include "model/Model.h"
#include "output/YearSimulation.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {

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
    if (o.failed())
        return 2;
    const bool plan = year && !channel && !date.isValid();
    const bool day = !year && channel && date.isValid();
    if (o.positional.size() != 1 || plan == day)
        return o.usageError();
    const QString path = o.positional.first();

    Model model;
    if (!loadProgramOrTell(model, o, path, type.value_or(0)))
        return 1;
    const bool json = o.has("--json");
    const YearSimulation simulation(model);
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
    if (*channel > simulation.channels())
        return o.badValue("--channel",
                          cliText(CliText::ProgramHasChannels, o.language()).arg(simulation.channels()));
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
