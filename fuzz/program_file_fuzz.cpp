// libFuzzer target: arbitrary bytes as a program file, loaded into either set of an annual and an
// astro device. A load either fails and leaves the model exactly as it was, or yields a model that
// keeps its invariants and survives writing and reading back unchanged.
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ProgramFile.h"

#include <QDateTime>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

using namespace zx;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray fingerprint(const Model &m)
{
    QByteArray out;
    auto add = [&out](const void *p, size_t n) { out.append(static_cast<const char *>(p), qsizetype(n)); };
    for (int k = 0; k < 2; ++k) {
        const ProgramSet &s = m.set(k);
        add(s.Records.data(), sizeof(s.Records));
        const int counters[] = {s.SzCount,  s.PzCount,      s.UsedCount,
                                s.DstCount, s.DstFirstYear, s.ProgramNumber};
        add(counters, sizeof(counters));
        add(s.DstTable.data(), sizeof(s.DstTable));
        add(s.HeaderBytes.data(), sizeof(s.HeaderBytes));
        out += s.UsageText.toUtf8() + '\0' + s.FileName.toUtf8() + '\0';
        for (const auto &n : s.ChannelNames)
            out += n.toUtf8() + '\0';
    }
    const DeviceProperties &d = m.device;
    const int dev[] = {d.DeviceCode, d.Sprache,           d.Kanalzahl,    d.Uhrentyp,    d.Busprog,
                       d.BusDevice,  d.MasterCardOptions, d.WriteProtect, d.Bewft,       d.SwRegel,
                       d.MessKanal,  d.MessPeriode,       d.MessImpDauer, d.MessZustand, d.MessZeitpunkt,
                       d.Evu,        d.RecordCapacity};
    add(dev, sizeof(dev));
    out += d.ModelName.toUtf8() + '\0';
    add(&m.options, sizeof(m.options));
    add(&m.astro, sizeof(m.astro));
    return out;
}

std::vector<ProgramRecord> sortedRecords(const ProgramSet &s)
{
    std::vector<ProgramRecord> r(s.Records.begin(), s.Records.begin() + s.UsedCount);
    std::sort(r.begin(), r.end(), [](const ProgramRecord &a, const ProgramRecord &b) {
        return std::tie(a.b0, a.b1, a.b2, a.b3, a.b4, a.b5) < std::tie(b.b0, b.b1, b.b2, b.b3, b.b4, b.b5);
    });
    return r;
}

void checkInvariants(const Model &m, int setIndex)
{
    const ProgramSet &s = m.set(setIndex);
    const bool astro = m.device.Uhrentyp == TypeAstro;
    check(s.UsedCount == s.SzCount + s.PzCount);
    check(s.UsedCount >= 0 && s.UsedCount <= (astro ? CapacityAstro : CapacityAnnual));
    for (int i = 0; i < s.UsedCount; ++i) {
        const ProgramRecord &r = s.Records[i];
        check(r.b2 == 0 && (r.b3 & 128) == 0);
        check(r.b0 <= 89 || (r.b0 >= 96 && r.b0 <= 217));
    }
    check(s.DstCount >= 0 && s.DstCount <= DstEntries);
    for (int i = 0; i < DstEntries; ++i)
        check((s.DstTable[i][0] < 240) == (i < s.DstCount));
    check(m.device.Kanalzahl >= 1 && m.device.Kanalzahl <= 8);
    if (astro) {
        const AstroData &a = m.astro;
        check(a.Longitude >= -180 && a.Longitude <= 180 && a.Latitude >= -70 && a.Latitude <= 70);
        check(a.TimeZone >= -720 && a.TimeZone <= 720 && a.AstroMinute >= 0 && a.AstroMinute <= 59);
        check(a.AstroOffset1 >= -120 && a.AstroOffset1 <= 120 && a.AstroOffset2 >= -120 &&
              a.AstroOffset2 <= 120);
    } else {
        check(s.ProgramNumber == NoProgramNumber || (s.ProgramNumber >= 0 && s.ProgramNumber <= 999999));
    }
}

// Writes set 0 as the writer would and reads it back into a fresh model of the same device.
void checkRoundTrip(const Model &m, const Model &base)
{
    const QByteArray text = FormatProgramText(BuildImage(m, QDateTime(QDate(2024, 1, 1), QTime(12, 0))),
                                              m.program().UsageText, m.program().ChannelNames);
    Model again = base;
    check(LoadProgramText(again, text, false, SetProgram) == LoadResult::Loaded);
    const ProgramSet &a = m.program();
    const ProgramSet &b = again.program();
    check(sortedRecords(a) == sortedRecords(b));
    check(a.SzCount == b.SzCount && a.PzCount == b.PzCount && a.DstCount == b.DstCount);
    check(a.DstTable == b.DstTable && (a.DstCount == 0 || a.DstFirstYear == b.DstFirstYear));
    check(a.ProgramNumber == b.ProgramNumber);
    if (!a.UsageText.startsWith(QChar(0xFEFF)))
        check(a.UsageText == b.UsageText);
    const DeviceProperties &x = m.device;
    const DeviceProperties &y = again.device;
    check(x.Kanalzahl == y.Kanalzahl && x.BusDevice == y.BusDevice && x.SwRegel == y.SwRegel);
    check(x.WriteProtect == y.WriteProtect && x.MessKanal == y.MessKanal && x.MessPeriode == y.MessPeriode);
    check(x.MessImpDauer == y.MessImpDauer && x.MessZustand == y.MessZustand &&
          x.MessZeitpunkt == y.MessZeitpunkt);
    const DeviceOptions &o = m.options;
    const DeviceOptions &p = again.options;
    check(o.EuroDate == p.EuroDate && o.GermanDisplay == p.GermanDisplay && o.RadioSync == p.RadioSync);
    check(o.NakOff == p.NakOff && o.KeyPermanent == p.KeyPermanent);
    if (m.device.Uhrentyp == TypeAstro) {
        const AstroData &s = m.astro;
        const AstroData &t = again.astro;
        check(s.AstroTable == t.AstroTable && s.AstroMinute == t.AstroMinute && s.AstroC1C2 == t.AstroC1C2);
        check(s.Longitude == t.Longitude && s.Latitude == t.Latitude && s.TimeZone == t.TimeZone);
        check(s.AstroOffset1 == t.AstroOffset1 && s.AstroOffset2 == t.AstroOffset2);
    }
}

const Model &baseModel(int type)
{
    static const Model annual = [] {
        Model m;
        m.device.Uhrentyp = TypeAnnual;
        m.device.RecordCapacity = CapacityAnnual;
        return m;
    }();
    static const Model astro = [] {
        Model m;
        m.device.Uhrentyp = TypeAstro;
        m.device.RecordCapacity = CapacityAstro;
        m.device.DeviceCode = 80;
        return m;
    }();
    return type == TypeAstro ? astro : annual;
}

// Loads a parsed file into every set of both devices, with and without records in the other set.
void exercise(const ProgramText &parsed)
{
    for (int type : {TypeAnnual, TypeAstro}) {
        const Model &base = baseModel(type);
        for (int variant = 0; variant < 4; ++variant) {
            const int setIndex = variant & 1;
            Model m = base;
            if (variant & 2) {
                // the other set holds a record, so the device group matters
                m.set(1 - setIndex).Records[0] = ProgramRecord{128, 0, 0, 1, 1, 1};
                m.set(1 - setIndex).UsedCount = 1;
                m.recount(1 - setIndex);
            }
            const QByteArray before = fingerprint(m);
            const LoadResult result = ApplyProgramText(m, parsed, false, setIndex);
            if (result != LoadResult::Loaded) {
                check(fingerprint(m) == before);
                continue;
            }
            checkInvariants(m, setIndex);
            if (setIndex == SetProgram)
                checkRoundTrip(m, base);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto values = ReadImageValues(bytes);
    const auto parsed = ParseProgramText(bytes);
    check(values.has_value() == parsed.has_value());

    // the whole path from the bytes, as a file would take it
    Model m = baseModel(TypeAnnual);
    const QByteArray before = fingerprint(m);
    const LoadResult result = LoadProgramText(m, bytes, false, SetProgram);
    if (result != LoadResult::Loaded)
        check(fingerprint(m) == before);
    if (!parsed)
        return 0;
    check(*values == parsed->values);

    // Most mutations break the checksum; mend it so the decoder behind the checksum is explored.
    ProgramText mended = *parsed;
    int sum = 0;
    for (int i = 1; i < ImageSize; ++i)
        sum += mended.values[i];
    mended.values[0] = (256 - sum % 256) % 256;
    exercise(mended);
    return 0;
}
