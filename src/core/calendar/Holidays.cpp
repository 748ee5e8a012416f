#include "calendar/Holidays.h"
#include "platform/FileAccess.h"

#include "i18n/ExtraTexts.h"
#include "model/Calendar.h"
#include "model/Model.h"
#include "platform/Prompter.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace zx {

bool IsValidHoliday(const Holiday &h)
{
    switch (h.kind) {
    case HolidayFixed:
    case HolidayFree:
        if (h.month < 1 || h.month > 12 || h.dayOrOffset < 1 || h.dayOrOffset > DaysInMonth(h.month, 2000))
            return false;
        return h.kind == HolidayFixed ? h.relation == 0
                                      : (h.relation != 0 && h.relation >= -7 && h.relation <= 7);
    case HolidayEaster:
        return h.relation == 0 && h.month == 0 && h.easterCode() >= EasterCodeMin &&
               h.easterCode() <= EasterCodeMax;
    default:
        return false;
    }
}

QString CleanHolidayName(const QString &name)
{
    QString clean = name;
    for (QChar &ch : clean)
        if (ch == QLatin1Char(',') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n') ||
            ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator ||
            ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
    return clean.trimmed();
}

std::optional<CalendarDate> HolidayDate(const Holiday &h, int year)
{
    if (!IsValidHoliday(h))
        return std::nullopt;
    if (h.kind == HolidayEaster) {
        const int doy = EasterSunday(year) + h.dayOrOffset;
        // Far offsets reach into the neighbouring years.
        int y = year, d = doy;
        while (d < 1)
            d += DaysInYear(--y);
        while (d > DaysInYear(y))
            d -= DaysInYear(y++);
        const DayMonth dm = DateOfDay(d, y);
        return CalendarDate{dm.day, dm.month, y};
    }
    if (h.dayOrOffset > DaysInMonth(h.month, year))
        return std::nullopt;
    if (h.kind == HolidayFixed)
        return CalendarDate{h.dayOrOffset, h.month, year};
    // Free: the named weekday strictly before or after the given day.
    const int weekday = h.relation < 0 ? -h.relation : h.relation;
    const int step = h.relation < 0 ? -1 : 1;
    int y = year;
    int d = DayOfYear(h.dayOrOffset, h.month, year);
    for (int i = 0; i < 7; ++i) {
        d += step;
        if (d < 1)
            d += DaysInYear(--y);
        else if (d > DaysInYear(y))
            d -= DaysInYear(y++);
        const DayMonth dm = DateOfDay(d, y);
        if (Weekday(dm.day, dm.month, y) == weekday)
            return CalendarDate{dm.day, dm.month, y};
    }
    return std::nullopt;
}

// ---- editing ----

HolidayChange AddOrChangeHoliday(HolidayLibrary &library, Holiday holiday)
{
    holiday.name = CleanHolidayName(holiday.name);
    if (holiday.name.isEmpty() || !IsValidHoliday(holiday))
        return HolidayChange::Refused;
    for (Holiday &h : library.holidays) {
        if (h.name == holiday.name) {
            h = holiday;
            return HolidayChange::Changed;
        }
    }
    library.holidays.push_back(holiday);
    return HolidayChange::Appended;
}

bool RenameHoliday(HolidayLibrary &library, int index, const QString &name)
{
    const QString clean = CleanHolidayName(name);
    if (clean.isEmpty() || index < 0 || index >= static_cast<int>(library.holidays.size()))
        return false;
    for (int i = 0; i < static_cast<int>(library.holidays.size()); ++i)
        if (i != index && library.holidays[i].name == clean)
            return false;
    library.holidays[index].name = clean;
    return true;
}

void DeleteHoliday(HolidayLibrary &library, int index)
{
    if (index < 0 || index >= static_cast<int>(library.holidays.size()))
        return;
    library.holidays.erase(library.holidays.begin() + index);
    const int number = index + 1;
    for (HolidaySet &set : library.sets) {
        std::erase(set.members, number);
        for (int &m : set.members)
            if (m > number)
                --m;
    }
}

bool AddHolidaySet(HolidayLibrary &library, const QString &name)
{
    const QString clean = CleanHolidayName(name);
    if (clean.isEmpty() || static_cast<int>(library.sets.size()) >= MaxHolidaySets)
        return false;
    for (const HolidaySet &s : library.sets)
        if (s.name == clean)
            return false;
    library.sets.push_back({clean, {}});
    return true;
}

bool RenameHolidaySet(HolidayLibrary &library, int setIndex, const QString &name)
{
    const QString clean = CleanHolidayName(name);
    if (clean.isEmpty() || setIndex < 0 || setIndex >= static_cast<int>(library.sets.size()))
        return false;
    for (int i = 0; i < static_cast<int>(library.sets.size()); ++i)
        if (i != setIndex && library.sets[i].name == clean)
            return false;
    library.sets[setIndex].name = clean;
    return true;
}

void DeleteHolidaySet(HolidayLibrary &library, int setIndex)
{
    if (setIndex >= 0 && setIndex < static_cast<int>(library.sets.size()))
        library.sets.erase(library.sets.begin() + setIndex);
}

bool AddToHolidaySet(HolidayLibrary &library, int setIndex, int index)
{
    if (setIndex < 0 || setIndex >= static_cast<int>(library.sets.size()) || index < 0 ||
        index >= static_cast<int>(library.holidays.size()))
        return false;
    std::vector<int> &members = library.sets[setIndex].members;
    if (static_cast<int>(members.size()) >= MaxSetMembers ||
        std::find(members.begin(), members.end(), index + 1) != members.end())
        return false;
    members.push_back(index + 1);
    return true;
}

void RemoveFromHolidaySet(HolidayLibrary &library, int setIndex, int position)
{
    if (setIndex < 0 || setIndex >= static_cast<int>(library.sets.size()))
        return;
    std::vector<int> &members = library.sets[setIndex].members;
    if (position >= 0 && position < static_cast<int>(members.size()))
        members.erase(members.begin() + position);
}

// ---- texts ----

QString EasterOffsetText(const Model &model, int offset)
{
    const Catalogue &c = model.catalogue;
    if (offset == 0)
        return c(Msg::Eastern);
    return QString::number(std::abs(offset)) + c(offset < 0 ? Msg::DaySBeforeEastern : Msg::DaySAfterEastern);
}

QString DayMonthText(const Model &model, int day, int month)
{
    const QString dayText = day == 1 ? model.catalogue.text(Msg::FirstOfMonth)
                                     : QString::number(day) + model.catalogue.text(Msg::DaySuffix);
    const QString monthName =
        (month >= 1 && month <= 12) ? model.catalogue.text(Msg::January + month - 1) : QString();
    if (model.device.Sprache == English)
        return monthName + QStringLiteral(", ") + dayText;
    return dayText + monthName;
}

QString EasterCodeFallbackName(const Model &model, int easterCode)
{
    const int offset = easterCode - EasterCodeBase;
    QString text =
        model.catalogue.text(Msg::HolidayAt) + QLatin1Char(' ') + model.catalogue.text(Msg::Eastern);
    if (offset >= 0)
        return text + QStringLiteral(" + ") + QString::number(offset);
    return text + QLatin1Char(' ') + QString::number(offset);
}

QString Describe(const Model &model, const Holiday &h)
{
    const Catalogue &c = model.catalogue;
    switch (h.kind) {
    case HolidayFixed:
        return DayMonthText(model, h.dayOrOffset, h.month);
    case HolidayFree: {
        const int weekday = std::clamp(std::abs(h.relation), 1, 7);
        const QString monthName = (h.month >= 1 && h.month <= 12) ? c(Msg::January + h.month - 1) : QString();
        return c(Msg::Monday + weekday - 1) + QLatin1Char(' ') +
               c(h.relation < 0 ? Msg::BeforeThe : Msg::AfterThe) + QLatin1Char(' ') +
               QString::number(h.dayOrOffset) + QStringLiteral(". ") + monthName;
    }
    default:
        return EasterOffsetText(model, h.dayOrOffset);
    }
}

QString EasterCodeName(const Model &model, const HolidayLibrary &library, int code)
{
    for (const Holiday &h : library.holidays)
        if (h.kind == HolidayEaster && h.easterCode() == code)
            return h.name;
    return EasterCodeFallbackName(model, code);
}

// ---- the holiday file ----

namespace {

// The signed print form: a minus sign or a blank before the digits, a blank after.
QString printNumber(int value)
{
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(std::abs(value)) +
           QLatin1Char(' ');
}

// Values separated by commas or blanks; false unless there are exactly `count` integers.
bool parseNumbers(QStringView text, int count, std::vector<int> &out)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList parts = text.toString().split(separators, Qt::SkipEmptyParts);
    if (parts.size() != count)
        return false;
    out.clear();
    for (const QString &p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok)
            return false;
        out.push_back(v);
    }
    return true;
}

class LineReader {
  public:
    explicit LineReader(const QString &text) { lines_ = splitTextLines(text); }
    bool next(QString &line)
    {
        if (pos_ >= lines_.size())
            return false;
        line = lines_[pos_++];
        return true;
    }
    int lineNumber() const { return static_cast<int>(pos_); }

  private:
    QStringList lines_;
    qsizetype pos_ = 0;
};

HolidayFileResult damaged(const LineReader &reader)
{
    return {HolidayLoad::Damaged, QString::number(reader.lineNumber())};
}

} // namespace

HolidayFileResult ParseHolidays(const QByteArray &bytes, HolidayLibrary &library)
{
    LineReader reader(decodeText(bytes));
    QString line;
    std::vector<int> numbers;
    if (!reader.next(line) || !parseNumbers(line, 2, numbers))
        return damaged(reader);
    const int holidayCount = numbers[0];
    const int setCount = numbers[1];
    // Set members are 1-based numbers below 2^15 in the device's tables.
    if (holidayCount < 0 || holidayCount > 32767 || setCount < 0 || setCount > MaxHolidaySets)
        return damaged(reader);

    HolidayLibrary read;
    read.freeYears = library.freeYears;
    for (int i = 0; i < holidayCount; ++i) {
        if (!reader.next(line))
            return damaged(reader);
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0 || !parseNumbers(QStringView(line).mid(comma + 1), 4, numbers))
            return damaged(reader);
        Holiday h{CleanHolidayName(line.left(comma)), numbers[0], numbers[1], numbers[2], numbers[3]};
        if (!IsValidHoliday(h))
            return damaged(reader);
        read.holidays.push_back(std::move(h));
    }
    for (int s = 0; s < setCount; ++s) {
        HolidaySet set;
        if (!reader.next(set.name) || !reader.next(line) || !parseNumbers(line, 1, numbers))
            return damaged(reader);
        set.name = CleanHolidayName(set.name);
        const int members = numbers[0];
        if (members < 0 || members > MaxSetMembers)
            return damaged(reader);
        for (int m = 0; m < members; ++m) {
            if (!reader.next(line) || !parseNumbers(line, 1, numbers))
                return damaged(reader);
            const int number = numbers[0];
            if (number < 1 || number > holidayCount ||
                std::find(set.members.begin(), set.members.end(), number) != set.members.end())
                return damaged(reader);
            set.members.push_back(number);
        }
        read.sets.push_back(std::move(set));
    }
    library = std::move(read);
    return {};
}

HolidayFileResult LoadHolidays(const QString &path, HolidayLibrary &library)
{
    // Only regular files: a FIFO would block the start and a device node is no holiday file.
    const FileContent read = ReadRegularFile(path);
    switch (read.status) {
    case ReadStatus::Read:
        break;
    case ReadStatus::Missing:
        return {HolidayLoad::Missing, FileErrorText(path, QStringLiteral("No such file or directory"))};
    default:
        return {HolidayLoad::Unreadable, FileErrorText(path, read.error)};
    }
    const QByteArray &bytes = read.content;
    HolidayFileResult result = ParseHolidays(bytes, library);
    if (!result.ok())
        result.error = QStringLiteral("%1: line %2").arg(QDir::toNativeSeparators(path), result.error);
    return result;
}

QByteArray HolidayFileText(const HolidayLibrary &library)
{
    QString text;
    const QString crlf = QStringLiteral("\r\n");
    text += printNumber(static_cast<int>(library.holidays.size())) +
            printNumber(static_cast<int>(library.sets.size())) + crlf;
    for (const Holiday &h : library.holidays)
        text += CleanHolidayName(h.name) + QLatin1Char(',') + printNumber(h.kind) + printNumber(h.relation) +
                printNumber(h.dayOrOffset) + printNumber(h.month) + crlf;
    for (const HolidaySet &s : library.sets) {
        text += CleanHolidayName(s.name) + crlf + printNumber(static_cast<int>(s.members.size())) + crlf;
        for (int m : s.members)
            text += printNumber(m) + crlf;
    }
    return encodeText(text);
}

bool SaveHolidays(const QString &path, const HolidayLibrary &library, QString *error)
{
    return WriteFileAtomically(path, HolidayFileText(library), error);
}

QString DamagedHolidayCopyPath(const QString &path)
{
    const QString base = path + QStringLiteral(".damaged");
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + QString::number(n);
    return candidate;
}

HolidaySave SaveHolidaysOverDamaged(const Model &model, Prompter &prompter, const QString &path,
                                    const HolidayLibrary &library, QString *error)
{
    const FileContent onDisk = ReadRegularFile(path);
    if (onDisk.status == ReadStatus::Unreadable) {
        if (error)
            *error = FileErrorText(path, onDisk.error);
        return HolidaySave::Failed;
    }
    if (onDisk.ok()) {
        HolidayLibrary scratch;
        if (!ParseHolidays(onDisk.content, scratch).ok()) {
            const QString copy = DamagedHolidayCopyPath(path);
            const QString question = extraText(ExtraText::DamagedHolidayFile, model.device.Sprache)
                                         .arg(QFileInfo(path).fileName(), QFileInfo(copy).fileName());
            if (prompter.ask(question, Buttons::YesNo, Icon::Warning) != Answer::Yes)
                return HolidaySave::Declined;
            if (!WriteFileAtomically(copy, onDisk.content, error))
                return HolidaySave::Failed;
        }
    }
    return SaveHolidays(path, library, error) ? HolidaySave::Saved : HolidaySave::Failed;
}

namespace {

// The user's choice of holiday file, kept in the working directory beside the file itself, as
// the bus dialog keeps its interface: one line "HDY=name.hdy". Without it, or when the file it
// names is gone, the interface language's file is the library.
constexpr char HolidayChoiceFile[] = "holidayfile.ini";
constexpr char HolidayChoiceKey[] = "HDY=";

QString chosenHolidayFile(const QString &workDir)
{
    const QDir dir(workDir);
    const FileContent read = ReadRegularFile(dir.filePath(QLatin1String(HolidayChoiceFile)), 4096);
    if (!read.ok())
        return {};
    const QString line = decodeText(read.content).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!line.startsWith(QLatin1String(HolidayChoiceKey)))
        return {};
    const QString name = line.mid(static_cast<int>(std::strlen(HolidayChoiceKey))).trimmed();
    // A plain name in the working directory, nothing that reaches elsewhere.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.startsWith(QLatin1Char('.')) || !name.endsWith(QLatin1String(".hdy"), Qt::CaseInsensitive) ||
        !QFileInfo(dir.filePath(name)).isFile())
        return {};
    return name;
}

} // namespace

QString HolidayFilePath(const Model &model, const QString &workDir)
{
    const QString chosen = chosenHolidayFile(workDir);
    return QDir(workDir).filePath(chosen.isEmpty() ? model.catalogue.text(Msg::HolidayFileName) : chosen);
}

QStringList HolidayFileNames(const Model &model, const QString &workDir)
{
    QStringList names = QDir(workDir).entryList({QStringLiteral("*.hdy")}, QDir::Files, QDir::Name);
    const QString own = model.catalogue.text(Msg::HolidayFileName);
    if (!names.contains(own))
        names.prepend(own);
    return names;
}

HolidayFileResult SwitchHolidayFile(Model &model, const QString &workDir, const QString &name)
{
    HolidayLibrary loaded;
    const QDir dir(workDir);
    HolidayFileResult result = LoadHolidays(dir.filePath(name), loaded); // its error names the file
    if (!result.ok())
        return result;
    const QString choice = dir.filePath(QLatin1String(HolidayChoiceFile));
    // The language's own file needs no choice; another is remembered for the next start.
    QString reason;
    bool kept = true;
    if (name == model.catalogue.text(Msg::HolidayFileName)) {
        QFile stale(choice);
        if (stale.exists() && !stale.remove()) {
            kept = false;
            reason = stale.errorString();
        }
    } else {
        const QString line = QLatin1String(HolidayChoiceKey) + name + QStringLiteral("\r\n");
        kept = WriteFileAtomically(choice, line.toUtf8(), &reason);
    }
    if (!kept) {
        result.status = HolidayLoad::Unreadable;
        result.error = FileErrorText(choice, reason);
        return result;
    }
    loaded.freeYears = model.holidays.freeYears; // a device setting, not the file's
    model.holidays = std::move(loaded);
    return result;
}

} // namespace zx
