#include "support/SamplePrograms.h"

#include "model/ListOrder.h"
#include "model/Model.h"

namespace zx::test {

ProgramRecord weeklyTime(int hour, int minute, int weekdayMask, int channelMask, int on, int program,
                         int pulse)
{
    const int m = hour * 60 + minute;
    return ProgramRecord{std::uint8_t(128 + (m >> 4)),
                         std::uint8_t(((m & 15) << 4) | program),
                         0,
                         std::uint8_t(weekdayMask),
                         std::uint8_t(channelMask),
                         std::uint8_t(pulse * 4 + on)};
}

ProgramRecord datedTime(int hour, int minute, int day, int month, int channelMask, int on, int once,
                        int pulse)
{
    const int m = hour * 60 + minute;
    return ProgramRecord{
        std::uint8_t(m >> 4),      std::uint8_t(((m & 15) << 4) | month), 0, std::uint8_t(day + 64 * once),
        std::uint8_t(channelMask), std::uint8_t(pulse * 4 + on)};
}

ProgramRecord priorityTime(int fromDay, int fromMonth, int toDay, int toMonth, int code, int channelMask,
                           int state, int once, int yearCode)
{
    if (yearCode)
        once = 1;
    return ProgramRecord{std::uint8_t(96 + fromMonth * 2 + ((fromDay >> 4) & 1)),
                         std::uint8_t((fromDay % 16) * 16 + code),
                         0,
                         std::uint8_t(toDay + 64 * once),
                         std::uint8_t((yearCode % 16) * 16 + channelMask),
                         std::uint8_t(toMonth * 16 + ((yearCode >> 4) & 7) * 2 + state)};
}

ProgramRecord easterPriority(int offset, int code, int channelMask, int state)
{
    const int c = 82 + offset;
    return ProgramRecord{96, std::uint8_t((c & 240) + code), 0,
                         0,  std::uint8_t(channelMask),      std::uint8_t((c % 16) * 16 + state)};
}

namespace {

ProgramRecord sampleRecord(int i, int channels)
{
    const int mask = 1 + i % ((1 << channels) - 1);
    switch (i % 5) {
    case 0:
    case 1: {
        const int m = (i * 37) % 1440;
        return weeklyTime(m / 60, m % 60, 1 + (i * 11) % 127, mask, i % 2, i % 10,
                          i % 7 == 0 ? (i * 3) % 60 : 0);
    }
    case 2:
    case 3: {
        const int m = (i * 53) % 1440;
        return datedTime(m / 60, m % 60, 1 + i % 28, 1 + i % 12, mask, i % 2, i % 3 == 0 ? 1 : 0,
                         i % 11 == 0 ? 5 : 0);
    }
    default: {
        const int code = 1 + (i / 5) % 10;
        if (i % 45 == 4)
            return easterPriority(-2 + (i % 60), code, mask, code == 10 ? 1 : 0);
        const int year = (i % 15 == 9) ? 64 + (i % 30) : 0;
        return priorityTime(1 + (i * 7) % 28, 1 + i % 12, 1 + (i * 3) % 28, 1 + (i + 2) % 12, code, mask,
                            code == 10 ? (i / 5) % 2 : 0, i % 4 == 0 ? 1 : 0, year);
    }
    }
}

void fillCommon(Model &model, int count, int channels)
{
    ProgramSet &p = model.program();
    p.clear();
    for (int i = 0; i < count; ++i)
        p.Records[i] = sampleRecord(i, channels);
    p.UsedCount = count;
    model.recount(SetProgram);
    p.DstFirstYear = 2 + 64; // 1998, with a flag bit above the year
    const DstEntry entries[] = {{27, 3, 2, 25}, {30, 10, 3, 28}, {26, 3, 2, 31}, {29, 10, 3, 27}};
    for (const auto &e : entries)
        p.DstTable[p.DstCount++] = e;
    model.device.SwRegel = 4;
    p.UsageText = QStringLiteral("Schule Nord – Turnhalle; Büro (€)");
    const char *names[] = {"Licht Halle", "Heizung", "Lüftung", "Außenlicht", "", "", "", ""};
    for (int i = 0; i < 8; ++i)
        p.ChannelNames[i] = QString::fromUtf8(names[i]);
    model.Modified = 1;
}

} // namespace

void fillFullAnnual(Model &model)
{
    model.device.Uhrentyp = TypeAnnual;
    model.device.RecordCapacity = CapacityAnnual;
    model.device.DeviceCode = 72;
    model.device.Kanalzahl = 4;
    model.device.BusDevice = 0;
    model.device.WriteProtect = 0;
    model.device.MessKanal = 2;
    model.device.MessPeriode = 15;
    model.device.MessImpDauer = 10;
    model.device.MessZustand = 1;
    model.device.MessZeitpunkt = 0;
    model.options = DeviceOptions{};
    model.astro.clearTable();
    fillCommon(model, CapacityAnnual, 4);
    model.program().ProgramNumber = 123456;
    SortRecords(model, DisplayOrder, SetProgram);
}

void fillFullAstro(Model &model)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.RecordCapacity = CapacityAstro;
    model.device.DeviceCode = 80;
    model.device.Kanalzahl = 2;
    model.device.BusDevice = 0;
    model.device.WriteProtect = 1;
    model.device.clearMeterPulse();
    model.options = DeviceOptions{};
    AstroData &a = model.astro;
    a.Longitude = -13.5f;
    a.Latitude = 52.5f;
    a.TimeZone = -75;
    a.AstroOffset1 = -15;
    a.AstroOffset2 = 20;
    a.AstroMinute = 30;
    a.AstroC1C2 = 1;
    for (int d = 0; d < AstroDays; ++d)
        a.AstroTable[d] = {300 + (d * 7) % 400, 1000 + (d * 13) % 500};
    a.AstroTable[59] = {NoAstroTime, NoAstroTime};
    a.AstroPresent = -1;
    fillCommon(model, CapacityAstro, 2);
    // the astro device keeps astro switching times out of the file: clear their marker bit
    ProgramSet &p = model.program();
    for (int i = 0; i < p.UsedCount; ++i)
        if (IsAstroTime(p.Records[i], 0))
            p.Records[i].b4 &= ~16;
    model.recount(SetProgram);
    SortRecords(model, DisplayOrder, SetProgram);
}

} // namespace zx::test
