#include "output/ICalendarExport.h"

#include "calendar/DeviceClock.h"
#include "model/Calendar.h"
#include "model/Model.h"
#include "output/YearSimulation.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTimeZone>

namespace zx {

namespace {

constexpr int MinutesPerDay = 24 * 60;

QString channelLabel(const Model &model, int channel)
{
    const QString name = model.program().ChannelNames[channel - 1].trimmed();
    const QString label = model.catalogue(Msg::ChannelPrefix).trimmed() + QString::number(channel);
    return name.isEmpty() ? label : label + QLatin1Char(' ') + name;
}

QString channelTitle(const Model &model, int channel)
{
    const QString name = model.program().ChannelNames[channel - 1].trimmed();
    return name.isEmpty() ? channelLabel(model, channel) : name;
}

QString programName(const Model &model)
{
    const QString file = QFileInfo(model.program().FileName).completeBaseName();
    return file.isEmpty() ? model.catalogue.productTitle : file;
}

// The UTC moment of a minute of the year on the device's clock.
QDateTime utcOf(const DeviceClock &clock, const CalendarRequest &request, int minuteOfYear)
{
    const QDateTime newYear(QDate(request.year, 1, 1), QTime(0, 0), Qt::UTC);
    return newYear.addSecs((clock.standardOf(request.year, minuteOfYear) - request.utcOffsetMinutes) * 60);
}

// The program an event belongs to, whatever path it was opened by: its file's name and its
// program number.
QByteArray programKey(const ProgramSet &program)
{
    const QString identity = QFileInfo(program.FileName).completeBaseName() + QLatin1Char('/') +
                             QString::number(program.ProgramNumber);
    return QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
}

QByteArray utcText(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

class Writer {
  public:
    void line(const char *name, const QByteArray &value)
    {
        out_ += ical::FoldLine(QByteArray(name) + ':' + value);
    }
    void text(const char *name, const QString &value) { line(name, ical::EscapeText(value)); }
    QByteArray take() { return std::move(out_); }

  private:
    QByteArray out_;
};

} // namespace

namespace ical {

QByteArray EscapeText(const QString &text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (int i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
        case ';':
        case ',':
            out += '\\';
            out += c;
            break;
        case '\r':
            // CR LF is one line break; a lone CR is one too.
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                break;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            // Other control characters are not allowed in a TEXT value.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
                break;
            out += c;
        }
    }
    return out;
}

QByteArray FoldLine(const QByteArray &line)
{
    constexpr int Octets = 75;
    QByteArray out;
    int lineStart = 0; // where the present physical line began in `line`
    int room = Octets; // octets the present physical line can still take
    int i = 0;
    while (i < line.size()) {
        // The length of the UTF-8 sequence starting here, so a fold never splits a character.
        const auto lead = static_cast<unsigned char>(line[i]);
        int n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        n = std::min<int>(n, int(line.size()) - i);
        if (n > room) {
            out += line.mid(lineStart, i - lineStart);
            out += "\r\n ";
            lineStart = i;
            room = Octets - 1;
        }
        room -= n;
        i += n;
    }
    out += line.mid(lineStart);
    out += "\r\n";
    return out;
}

} // namespace ical

std::vector<OnPeriod> YearOnPeriods(const YearSimulation &simulation, const DayPlan &plan, int channel)
{
    std::vector<OnPeriod> periods;
    int level = 0;
    int onSince = 0;
    for (int day = 1; day <= plan.days; ++day) {
        int minute = (day - 1) * MinutesPerDay;
        for (const DaySegment &s : simulation.daySegments(plan, channel, day)) {
            const bool pulse = (s.state & SegmentState::PulseBit) != 0;
            if (pulse) {
                if ((s.state & 1) != 0)
                    periods.push_back({channel, minute, minute, s.pulseSeconds});
            } else if ((s.state & 1) != level) {
                level = s.state & 1;
                if (level)
                    onSince = minute;
                else
                    periods.push_back({channel, onSince, minute, 0});
            }
            minute += s.minutes;
        }
    }
    if (level)
        periods.push_back({channel, onSince, plan.days * MinutesPerDay, 0});
    return periods;
}

int DeviceUtcOffsetMinutes(const Model &model, int year)
{
    if (model.device.Uhrentyp == TypeAstro)
        return int(model.astro.TimeZone);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    return zone.standardTimeOffset(QDateTime(QDate(year, 1, 1), QTime(12, 0), zone)) / 60;
}

QByteArray YearCalendar(const Model &model, const CalendarRequest &request)
{
    const YearSimulation simulation(model);
    const DayPlan plan = simulation.dayPlan(request.year);
    const ProgramSet &program = model.program();
    const QString name = programName(model);
    const DeviceClock clock(model);
    // Every export of the same program gives an event the same UID, so a calendar that imports a
    // newer export replaces the events instead of doubling them.
    const QByteArray key = programKey(program);
    const QByteArray stamp =
        utcText(request.stamp.isValid() ? request.stamp : QDateTime::currentDateTimeUtc());

    Writer w;
    w.line("BEGIN", "VCALENDAR");
    w.line("VERSION", "2.0");
    w.line("PRODID", "-//Zentrix//Zentrix year simulation//EN");
    w.line("CALSCALE", "GREGORIAN");
    w.line("METHOD", "PUBLISH");
    QString calendarName = name + QLatin1Char(' ') + QString::number(request.year);
    if (request.channel > 0)
        calendarName += QStringLiteral(", ") + channelLabel(model, request.channel);
    w.text("X-WR-CALNAME", calendarName);
    if (!program.UsageText.trimmed().isEmpty())
        w.text("X-WR-CALDESC", program.UsageText.trimmed());

    const int first = request.channel > 0 ? request.channel : 1;
    const int last = request.channel > 0 ? request.channel : simulation.channels();
    for (int channel = first; channel <= last; ++channel) {
        const QString title =
            request.channel > 0 ? channelTitle(model, channel) : channelLabel(model, channel);
        for (const OnPeriod &p : YearOnPeriods(simulation, plan, channel)) {
            const bool pulse = p.pulseSeconds > 0;
            const QDateTime start = utcOf(clock, request, p.start);
            const QDateTime end = utcOf(clock, request, p.end);
            // ON and OFF both in the hour the clock skips: both happen at the jump, the output
            // is never ON.
            if (!pulse && end <= start)
                continue;
            w.line("BEGIN", "VEVENT");
            // The start as the device's clock reads it: no two events of a channel share it, not
            // even two that happen together when the clock jumps.
            const QByteArray reading = QDateTime(QDate(request.year, 1, 1), QTime(0, 0), Qt::UTC)
                                           .addSecs(qint64(p.start) * 60)
                                           .toString(QStringLiteral("yyyyMMdd'T'HHmm"))
                                           .toLatin1();
            w.line("UID", QByteArray("zx-") + key + "-c" + QByteArray::number(channel) + '-' + reading +
                              (pulse ? "-p" : "") + "@zentrix");
            w.line("DTSTAMP", stamp);
            w.line("DTSTART", utcText(start));
            if (pulse)
                w.line("DURATION", "PT" + QByteArray::number(p.pulseSeconds) + 'S');
            else
                w.line("DTEND", utcText(end));
            w.text("SUMMARY", pulse ? title + QLatin1Char(' ') + model.catalogue(Msg::On).trimmed() +
                                          QLatin1Char(' ') + QString::number(p.pulseSeconds) +
                                          model.catalogue(Msg::Sec)
                                    : title + QLatin1Char(' ') + model.catalogue(Msg::On).trimmed());
            QString description = name + QStringLiteral(", ") + channelLabel(model, channel);
            if (!program.UsageText.trimmed().isEmpty())
                description += QLatin1Char('\n') + program.UsageText.trimmed();
            w.text("DESCRIPTION", description);
            w.text("CATEGORIES", channelLabel(model, channel));
            w.line("TRANSP", "TRANSPARENT");
            w.line("END", "VEVENT");
        }
    }
    w.line("END", "VCALENDAR");
    return w.take();
}

} // namespace zx
