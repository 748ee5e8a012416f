#include "entry/HolidayPriority.h"
#include "calendar/Holidays.h"

#include "model/Calendar.h"
#include "model/RecordDecoder.h"

namespace zx {

namespace {

PriorityEntryValues OnDate(PriorityEntryValues e, const CalendarDate &date)
{
    e.easter = false;
    e.easterCode = 0;
    e.fromDay = e.toDay = date.day;
    e.fromMonth = e.toMonth = date.month;
    e.once = 1;
    e.yearCode = 0;
    return e;
}

} // namespace

std::vector<PriorityEntryValues> HolidayPriorityTimes(const Holiday &holiday, const PriorityEntryValues &base,
                                                      int bewft, const CalendarDate &today, int years)
{
    std::vector<PriorityEntryValues> out;
    if (holiday.kind == HolidayFixed) {
        PriorityEntryValues e = base;
        e.easter = false;
        e.fromDay = e.toDay = holiday.dayOrOffset;
        e.fromMonth = e.toMonth = holiday.month;
        out.push_back(e);
        return out;
    }
    if (holiday.kind == HolidayEaster && bewft == 1) {
        PriorityEntryValues e = base;
        e.easter = true;
        e.easterCode = holiday.easterCode();
        e.once = 0;
        e.yearCode = 0;
        out.push_back(e);
        return out;
    }
    if (bewft != 1) {
        // the first date from this year on that is not yet past
        for (int year = today.year; year <= CalendarLastYear; ++year) {
            const auto date = HolidayDate(holiday, year);
            if (date && !(*date < today)) {
                out.push_back(OnDate(base, *date));
                break;
            }
        }
        return out;
    }
    for (int year = today.year; year < today.year + years && year <= CalendarLastYear; ++year) {
        const auto date = HolidayDate(holiday, year);
        if (!date || *date < today)
            continue;
        const int code = date->year - YearCodeBase;
        if (code < 1 || code > 127)
            continue; // the record holds seven bits of year
        PriorityEntryValues e = OnDate(base, *date);
        e.yearCode = code;
        out.push_back(e);
    }
    return out;
}

} // namespace zx
