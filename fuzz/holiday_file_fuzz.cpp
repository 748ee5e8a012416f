// libFuzzer target: arbitrary bytes as a holiday file. Reading either fails and leaves the
// library exactly as it was, or gives a library whose file reads back to the same library.
#include "calendar/Holidays.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    zx::HolidayLibrary before;
    before.holidays.push_back({QStringLiteral("kept"), zx::HolidayEaster, 0, 39, 0});
    before.sets.push_back({QStringLiteral("set"), {1}});
    zx::HolidayLibrary library = before;
    const zx::HolidayFileResult result = zx::ParseHolidays(bytes, library);
    if (!result.ok()) {
        if (!(library == before))
            std::abort();
        return 0;
    }
    for (const zx::Holiday &h : library.holidays)
        if (!zx::IsValidHoliday(h) || h.name.contains(u',') || h.name.contains(u'\n'))
            std::abort();
    for (const zx::HolidaySet &s : library.sets)
        for (int m : s.members)
            if (m < 1 || m > static_cast<int>(library.holidays.size()))
                std::abort();
    zx::HolidayLibrary again;
    if (!zx::ParseHolidays(zx::HolidayFileText(library), again).ok() || !(again == library))
        std::abort();
    return 0;
}
