#include "UsageProblems.h"

#include "CliTexts.h"

namespace zx::cli {

namespace {

QString missing(const Options &o, const QString &what)
{
    return cliText(CliText::Missing, o.language()).arg(what);
}

QString unexpected(const Options &o, const QString &argument)
{
    return argument + QStringLiteral(": ") + cliText(CliText::UnexpectedArgument, o.language());
}

QString together(const Options &o, const QString &a, const QString &b)
{
    return cliText(CliText::ExcludeEachOther, o.language()).arg(a, b);
}

} // namespace

QString EasterUsageProblem(const Options &o)
{
    return missing(o, QStringLiteral("YEAR"));
}

QString SummertimeUsageProblem(const Options &o)
{
    if (!o.positional.isEmpty())
        return unexpected(o, o.positional.first());
    for (const char *name : {"--rule", "--year"})
        if (!o.has(name))
            return missing(o, QLatin1String(name));
    // the table belongs to rule 4 alone
    return o.has("--table")
               ? together(o, QStringLiteral("--table"), QStringLiteral("--rule ") + o.value("--rule"))
               : missing(o, QStringLiteral("--table"));
}

QString HolidaysUsageProblem(const Options &o)
{
    return o.positional.isEmpty() ? missing(o, QStringLiteral("--year"))
                                  : unexpected(o, o.positional.first());
}

QString SimulateUsageProblem(const Options &o)
{
    if (o.positional.isEmpty())
        return missing(o, QStringLiteral("FILE.zxp"));
    if (o.positional.size() > 1)
        return unexpected(o, o.positional[1]);
    if (o.has("--date") && o.has("--year"))
        return together(o, QStringLiteral("--date"), QStringLiteral("--year"));
    if (o.has("--ics") && o.has("--date"))
        return together(o, QStringLiteral("--ics"), QStringLiteral("--date"));
    if (o.has("--date") && !o.has("--channel"))
        return missing(o, QStringLiteral("--channel"));
    if (o.has("--channel") && !o.has("--ics") && !o.has("--date"))
        return missing(o, QStringLiteral("--date"));
    return cliText(CliText::OneOfOptions, o.language()).arg(QStringLiteral("--year, --date"));
}

QString BusUsageProblem(const Options &o)
{
    const QStringList actions{QStringLiteral("search"), QStringLiteral("program"), QStringLiteral("read"),
                              QStringLiteral("reinstall")};
    if (o.positional.isEmpty())
        return missing(o, actions.join(u'|'));
    const QString action = o.positional.first();
    if (!actions.contains(action))
        return action + QStringLiteral(": ") +
               cliText(CliText::OneOf, o.language()).arg(actions.join(QStringLiteral(", ")));
    const bool withFile = action == QLatin1String("program") || action == QLatin1String("read");
    if (withFile && o.positional.size() < 2)
        return missing(o, action == QLatin1String("read") ? QStringLiteral("OUT.zxp")
                                                          : QStringLiteral("FILE.zxp"));
    if (o.positional.size() > (withFile ? 2 : 1))
        return unexpected(o, o.positional[withFile ? 2 : 1]);
    if (o.has("--port") && o.has("--ip"))
        return together(o, QStringLiteral("--port"), QStringLiteral("--ip"));
    if (!o.has("--port") && !o.has("--ip"))
        return cliText(CliText::OneOfOptions, o.language()).arg(QStringLiteral("--port, --ip"));
    if (action == QLatin1String("search")) {
        for (const char *name : {"--area", "--line", "--from", "--to"})
            if (!o.has(name))
                return missing(o, QLatin1String(name));
        return together(o, QStringLiteral("search"), QStringLiteral("--address"));
    }
    if (o.has("--area"))
        return together(o, action, QStringLiteral("--area"));
    return missing(o, QStringLiteral("--address"));
}

} // namespace zx::cli
