#include "transfer/MasterCard.h"

#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace zx {

namespace {

// The field of a one-bit option kept in DeviceOptions (not the master-card bit).
template <typename Options> auto &optionField(Options &o, DeviceOption option)
{
    switch (option) {
    case DeviceOption::RadioSync:
        return o.RadioSync;
    case DeviceOption::GermanDisplay:
        return o.GermanDisplay;
    case DeviceOption::EuroDate:
        return o.EuroDate;
    case DeviceOption::NakOff:
        return o.NakOff;
    case DeviceOption::KeyPermanent:
    case DeviceOption::MasterCard:
        break;
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
        return IsMasterCard(model.device.DeviceCode) ? 1 : 0;
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

void UpdateOptionsImage(Model &model, Prompter &prompter, const Clock &clock)
{
    ProgramSet &program = model.program();
    if (program.DstCount > 0 && model.device.SwRegel != RuleTable) {
        const Answer a =
            prompter.ask(model.catalogue.text(Msg::ThereIsAChangeoverTable), Buttons::YesNo, Icon::Warning);
        if (a == Answer::Yes)
            model.device.SwRegel = RuleTable;
    }
    const int type = model.device.Uhrentyp;
    if (type != TypeAnnual && type != TypeAstro)
        return;
    if (type == TypeAnnual) {
        model.device.DeviceCode = AnnualDeviceCode(model.device.DeviceCode, model.HasSpecialPriority());
    }
    program.HeaderBytes = BuildHeaderBytes(model, clock.now());
}

} // namespace zx
