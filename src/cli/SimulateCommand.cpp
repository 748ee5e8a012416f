// zentrix-cli simulate: the day plan of a year, or one channel's day, as the simulation window
// computes them.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "calendar/Calendar.h"
#include "model/Model.h"
#include "output/ExportFile.h"
#include "output/ICalendarExport.h"
#include "output/YearSimulation.h"

#include <QDate>
#include <QDateTime>

namespace zx::cli {

static const char SimulateUsage[] =
    "zentrix-cli simulate FILE.zxp (--year Y [--ics OUT.ics [--channel C]] | --channel C --date YYYY-MM-DD) "
    "[--type 517|236]";

// The year as an iCalendar file ("-": standard output).
static int writeCalendar(const Model &model, const QString &source, const QString &out, int year, int channel)
{
    CalendarRequest request;
    request.year = year;
    request.channel = channel;
    request.utcOffsetMinutes = DeviceUtcOffsetMinutes(model, year);
    request.stamp = QDateTime::currentDateTimeUtc();
    const QByteArray ics = YearCalendar(model, request);
    if (out == u"-") {
        std::fwrite(ics.constData(), 1, size_t(ics.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    const QString error = WriteExportFile(out, ics, source, model.device.Sprache);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(QString(error).replace(u'\n', QStringLiteral(": "))));
        return 1;
    }
    return 0;
}

int runSimulate(const QStringList &args)
{
    QString path;
    int type = 0;
    int year = 0;
    int channel = 0;
    QDate date;
    QString ics;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--type" && hasValue) {
            ok = parseTypeOption(args[++i], &type);
        } else if (a == u"--year" && hasValue) {
            year = args[++i].toInt(&ok);
            ok = ok && year >= CalendarFirstYear && year <= CalendarLastYear;
        } else if (a == u"--channel" && hasValue) {
            channel = args[++i].toInt(&ok);
            ok = ok && channel >= 1 && channel <= SimulationChannels;
        } else if (a == u"--date" && hasValue) {
            date = QDate::fromString(args[++i], Qt::ISODate);
            ok = date.isValid() && date.year() >= CalendarFirstYear && date.year() <= CalendarLastYear;
        } else if (a == u"--ics" && hasValue) {
            ics = args[++i];
            ok = !ics.isEmpty();
        } else if (path.isEmpty() && !a.startsWith(u"--")) {
            path = a;
        } else {
            ok = false;
        }
        if (!ok)
            return usageError(SimulateUsage);
    }
    const bool calendar = !ics.isEmpty() && year != 0 && !date.isValid();
    const bool plan = ics.isEmpty() && year != 0 && channel == 0 && !date.isValid();
    const bool day = ics.isEmpty() && year == 0 && channel != 0 && date.isValid();
    if (path.isEmpty() || int(calendar) + int(plan) + int(day) != 1)
        return usageError(SimulateUsage);

    Model model;
    HeadlessPrompter prompter;
    int usedType = 0;
    QString reason;
    const LoadResult result = loadProgramFile(model, prompter, path, type, &usedType, &reason);
    if (result != LoadResult::Loaded) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path),
                     qPrintable(loadFailureText(model, result, reason)));
        return 1;
    }

    const YearSimulation simulation(model);
    if (channel > simulation.channels()) {
        std::fprintf(stderr, "%s: the device has %d channel(s)\n", qPrintable(path), simulation.channels());
        return 1;
    }
    if (calendar)
        return writeCalendar(model, path, ics, year, channel);
    if (plan) {
        const DayPlan p = simulation.dayPlan(year);
        for (int d = 1; d <= p.days; ++d) {
            std::printf("%d", d);
            for (int c = 1; c <= p.channels; ++c)
                std::printf(" %d", p.code(d, c));
            std::printf("\n");
        }
        return 0;
    }
    const DayPlan p = simulation.dayPlan(date.year());
    for (const DaySegment &s :
         simulation.daySegments(p, channel, DayOfYear(date.day(), date.month(), date.year())))
        std::printf("%d %d\n", s.state, s.minutes);
    return 0;
}

} // namespace zx::cli
