// zentrix-cli simulate: the day plan of a year, or one channel's day, as the simulation window
// computes them.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "calendar/Calendar.h"
#include "model/Model.h"
#include "output/YearSimulation.h"

#include <QDate>

namespace zx::cli {

static const char SimulateUsage[] =
    "zentrix-cli simulate FILE.zxp (--year Y | --channel C --date YYYY-MM-DD) [--type 517|236]";

int runSimulate(const QStringList &args)
{
    QString path;
    int type = 0;
    int year = 0;
    int channel = 0;
    QDate date;
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
        } else if (path.isEmpty() && !a.startsWith(u"--")) {
            path = a;
        } else {
            ok = false;
        }
        if (!ok)
            return usageError(SimulateUsage);
    }
    const bool plan = year != 0 && channel == 0 && !date.isValid();
    const bool day = year == 0 && channel != 0 && date.isValid();
    if (path.isEmpty() || plan == day)
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
    if (channel > simulation.channels()) {
        std::fprintf(stderr, "%s: the device has %d channel(s)\n", qPrintable(path), simulation.channels());
        return 1;
    }
    const DayPlan p = simulation.dayPlan(date.year());
    for (const DaySegment &s :
         simulation.daySegments(p, channel, DayOfYear(date.day(), date.month(), date.year())))
        std::printf("%d %d\n", s.state, s.minutes);
    return 0;
}

} // namespace zx::cli
