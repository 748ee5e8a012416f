#include "model/ProgramSnapshot.h"

#include "model/ProgramFile.h"

#include <algorithm>
#include <tuple>

namespace zx {

namespace {

bool sameSet(const ProgramSet &a, const ProgramSet &b)
{
    return a.Records == b.Records && a.SzCount == b.SzCount && a.PzCount == b.PzCount &&
           a.UsedCount == b.UsedCount && a.DstTable == b.DstTable && a.DstCount == b.DstCount &&
           a.DstFirstYear == b.DstFirstYear && a.HeaderBytes == b.HeaderBytes &&
           a.ProgramNumber == b.ProgramNumber && a.UsageText == b.UsageText &&
           a.ChannelNames == b.ChannelNames;
}

bool sameDevice(const DeviceProperties &a, const DeviceProperties &b)
{
    return a.DeviceCode == b.DeviceCode && a.Kanalzahl == b.Kanalzahl && a.Uhrentyp == b.Uhrentyp &&
           a.ModelName == b.ModelName && a.BusDevice == b.BusDevice &&
           a.MasterCardOptions == b.MasterCardOptions && a.WriteProtect == b.WriteProtect &&
           a.Bewft == b.Bewft && a.SwRegel == b.SwRegel && a.MessKanal == b.MessKanal &&
           a.MessPeriode == b.MessPeriode && a.MessImpDauer == b.MessImpDauer &&
           a.MessZustand == b.MessZustand && a.MessZeitpunkt == b.MessZeitpunkt && a.Evu == b.Evu &&
           a.RecordCapacity == b.RecordCapacity;
}

bool sameOptions(const DeviceOptions &a, const DeviceOptions &b)
{
    return a.EuroDate == b.EuroDate && a.GermanDisplay == b.GermanDisplay && a.RadioSync == b.RadioSync &&
           a.NakOff == b.NakOff && a.KeyPermanent == b.KeyPermanent && a.OptionBit0 == b.OptionBit0;
}

bool sameAstro(const AstroData &a, const AstroData &b)
{
    return a.AstroTable == b.AstroTable && a.AstroPresent == b.AstroPresent && a.Longitude == b.Longitude &&
           a.Latitude == b.Latitude && a.TimeZone == b.TimeZone && a.AstroOffset1 == b.AstroOffset1 &&
           a.AstroOffset2 == b.AstroOffset2 && a.AstroMinute == b.AstroMinute && a.AstroC1C2 == b.AstroC1C2;
}

} // namespace

ProgramSnapshot ProgramSnapshot::take(const Model &model)
{
    ProgramSnapshot s;
    s.program_ = model.program();
    s.program_.FileName.clear();
    s.device_ = model.device;
    s.options_ = model.options;
    s.astro_ = model.astro;
    return s;
}

void ProgramSnapshot::restore(Model &model) const
{
    ProgramSet &p = model.program();
    const QString fileName = p.FileName;
    p = program_;
    p.FileName = fileName;
    const int sprache = model.device.Sprache;
    const int busprog = model.device.Busprog;
    model.device = device_;
    model.device.Sprache = sprache;
    model.device.Busprog = busprog;
    model.options = options_;
    model.astro = astro_;
    model.Marked.clear();
    model.FirstMarked = 0;
    model.LastMarked = -1;
}

QByteArray ProgramSnapshot::fileText(const QDateTime &now) const
{
    Model model;
    restore(model);
    return FormatProgramText(BuildImage(model, now), program_.UsageText, program_.ChannelNames);
}

bool ProgramSnapshot::sameExceptOrder(const ProgramSnapshot &other) const
{
    auto inOneOrder = [](ProgramSnapshot s) {
        auto &r = s.program_.Records;
        const int used = std::clamp(s.program_.UsedCount, 0, MaxRecords);
        std::sort(r.begin(), r.begin() + used, [](const ProgramRecord &x, const ProgramRecord &y) {
            return std::tie(x.b0, x.b1, x.b2, x.b3, x.b4, x.b5) <
                   std::tie(y.b0, y.b1, y.b2, y.b3, y.b4, y.b5);
        });
        return s;
    };
    return inOneOrder(*this) == inOneOrder(other);
}

bool operator==(const ProgramSnapshot &a, const ProgramSnapshot &b)
{
    return sameSet(a.program_, b.program_) && sameDevice(a.device_, b.device_) &&
           sameOptions(a.options_, b.options_) && sameAstro(a.astro_, b.astro_);
}

} // namespace zx
