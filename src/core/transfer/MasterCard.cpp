#include "transfer/MasterCard.h"

#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace zx {

namespace {

constexpr int RuleChangeoverTable = 4;

// The field of a one-bit option kept in DeviceOptions (not the master-card bit).
template <typename Options>
auto &optionField(Options &o, DeviceOption option)
{
    switch (option) {
    case DeviceOption::RadioSync: return o.RadioSync;
    case DeviceOption::GermanDisplay: return o.GermanDisplay;
    case DeviceOption::EuroDate: return o.EuroDate;
    case DeviceOption::NakOff: return o.NakOff;
    case DeviceOption::KeyPermanent:
    case DeviceOption::MasterCard: break;
    }
    return o.KeyPermanent;
}

void changed(Model &model, Prompter &prompter, const Clock &clock)
{
    model.Modified = 1;
    UpdateOptionsImage(model, prompter, clock);
}

} // namespace

int OptionValue(const Model &model, DeviceOption option)
{
    if (option == DeviceOption::MasterCard)
        return (model.device.DeviceCode & MasterCardBit) ? 1 : 0;
    return optionField(model.options, option) != 0 ? 1 : 0;
}

void SetDeviceOption(Model &model, Prompter &prompter, const Clock &clock, DeviceOption option, bool on)
{
    if (option == DeviceOption::MasterCard) {
        int &code = model.device.DeviceCode;
        code = on ? (code | MasterCardBit) : (code & ~MasterCardBit);
    } else {
        optionField(model.options, option) = on ? 1 : 0;
    }
    changed(model, prompter, clock);
}

void SetMasterCardOptions(Model &model, Prompter &prompter, const Clock &clock, int bits)
{
    model.device.MasterCardOptions = bits & 0xFF;
    changed(model, prompter, clock);
}

std::array<int, 8> OptionsHeaderBytes(const Model &model, const QDateTime &at)
{
    const DeviceProperties &d = model.device;
    const DeviceOptions &o = model.options;
    const int minutes = at.time().hour() * 60 + at.time().minute();

    std::array<int, 8> header{};
    header[0] = 0;
    header[1] = d.DeviceCode;
    header[2] = (d.Kanalzahl - 1) + 8 * d.BusDevice + 16 * d.SwRegel;
    const int common = 2 * o.EuroDate + 8 * o.RadioSync + 16 * o.NakOff + 32 * o.KeyPermanent;
    if (d.Uhrentyp == TypeAstro) {
        header[3] = 5 + common;   // the astro device has no display language bit
    } else {
        header[3] = 1 + common + 4 * o.GermanDisplay;
        if ((d.DeviceCode & MasterCardBit) && d.MasterCardOptions != 0)
            header[3] += 128;
    }
    header[4] = (minutes >> 4) & 0xFF;
    header[5] = (minutes % 16) * 16 + at.date().month();
    header[6] = at.date().day();
    header[7] = at.date().year() - 1872;
    return header;
}

void UpdateOptionsImage(Model &model, Prompter &prompter, const Clock &clock)
{
    ProgramSet &program = model.program();
    if (program.DstCount > 0 && model.device.SwRegel != RuleChangeoverTable) {
        const Answer a = prompter.ask(model.catalogue.text(Msg::ThereIsAChangeoverTable), Buttons::YesNo,
                                      Icon::Warning);
        if (a == Answer::Yes)
            model.device.SwRegel = RuleChangeoverTable;
    }
    const int type = model.device.Uhrentyp;
    if (type != TypeAnnual && type != TypeAstro)
        return;
    if (type == TypeAnnual) {
        model.device.DeviceCode = (model.device.DeviceCode & MasterCardBit) | (model.HasSpecialPriority() ? 73 : 72);
    }
    program.HeaderBytes = OptionsHeaderBytes(model, clock.now());
}

} // namespace zx
