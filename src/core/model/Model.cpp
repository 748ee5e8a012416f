#include "model/Model.h"

#include <algorithm>

namespace zx {

void ProgramSet::clear()
{
    Records.fill(ProgramRecord{});
    SzCount = PzCount = UsedCount = 0;
    DstTable.fill(EmptyDstEntry);
    DstCount = 0;
    DstFirstYear = 0;
    HeaderBytes.fill(0);
    ProgramNumber = NoProgramNumber;
    UsageText.clear();
    for (auto &name : ChannelNames)
        name.clear();
    FileName.clear();
    StampedFile.clear();
    DiskStamp = {};
}

void DeviceProperties::clearMeterPulse()
{
    MessKanal = 0;
    MessImpDauer = 1;
    MessPeriode = 1;
    MessZustand = 0;
    MessZeitpunkt = 0;
}

void AstroData::clearTable()
{
    for (auto &day : AstroTable)
        day = {0, 0};
    AstroPresent = 0;
}

Model::Model()
{
    catalogue.fillBuiltin(device.Sprache, BrandNumber);
    resetForStart();
}

void SetUpDeviceType(Model &model, int type)
{
    const bool astro = type == TypeAstro;
    model.device.Uhrentyp = astro ? TypeAstro : TypeAnnual;
    model.device.RecordCapacity = astro ? CapacityAstro : CapacityAnnual;
    model.device.DeviceCode = astro ? DeviceCodeAstro : DeviceCodeAnnual;
}

bool Model::HasSpecialPriority() const
{
    const ProgramSet &p = program();
    for (int i = 0; i < p.UsedCount; ++i) {
        const ProgramRecord &r = p.Records[i];
        if (RecordKind(r) == Kind::PriorityConventional && PriorityDateForm(r) > 1)
            return true;
    }
    return false;
}

void Model::recount(int setIndex)
{
    ProgramSet &s = set(setIndex);
    int sz = 0, pz = 0;
    for (int i = 0; i < s.UsedCount; ++i) {
        const int kind = RecordKind(s.Records[i]);
        if (kind == Kind::PriorityConventional || kind == Kind::PriorityBus)
            ++pz;
        else
            ++sz;
    }
    s.SzCount = sz;
    s.PzCount = pz;
    s.UsedCount = sz + pz;
}

bool Model::appendRecord(int setIndex, const ProgramRecord &r)
{
    ProgramSet &s = set(setIndex);
    const int limit = setIndex == SetProgram ? std::min(device.RecordCapacity, MaxRecords) : MaxRecords;
    if (s.UsedCount >= limit)
        return false;
    s.Records[s.UsedCount] = r;
    ++s.UsedCount;
    recount(setIndex);
    if (setIndex == SetProgram)
        Modified = 1;
    return true;
}

void Model::removeRecords(int setIndex, std::vector<int> indexes)
{
    ProgramSet &s = set(setIndex);
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    int write = 0;
    std::size_t next = 0;
    for (int read = 0; read < s.UsedCount; ++read) {
        if (next < indexes.size() && indexes[next] == read) {
            ++next;
            continue;
        }
        s.Records[write++] = s.Records[read];
    }
    for (int i = write; i < s.UsedCount; ++i)
        s.Records[i] = ProgramRecord{};
    s.UsedCount = write;
    recount(setIndex);
    if (setIndex == SetProgram)
        Modified = 1;
}

void Model::resetForStart()
{
    ProgramSet &p = program();
    p.SzCount = p.PzCount = p.UsedCount = 0;
    p.DstCount = 0;
    for (int i = 3; i <= 6; ++i)
        p.HeaderBytes[i] = 0;
    p.ProgramNumber = NoProgramNumber;
    device.WriteProtect = 0;
    astro.Longitude = 0;
    astro.Latitude = 0;
    astro.TimeZone = 60;
    astro.AstroOffset1 = 0;
    astro.AstroOffset2 = 0;
    options.EuroDate = 1;
    options.RadioSync = 0;
    options.OptionBit0 = 1;
    options.NakOff = 1;
    options.KeyPermanent = 0;
}

} // namespace zx
