#include "model/ModelNames.h"

#include "model/BrandTable.h"
#include "model/DeviceCodes.h"
#include "model/Model.h"

namespace zx {

int ModelNameSlot(const Model &model)
{
    using namespace Slot;
    const int code = PlainDeviceCode(model.device.DeviceCode);
    const int channels = model.device.Kanalzahl;
    if (code == DeviceCodeAstro && channels >= 1 && channels <= 4)
        return S19;
    if (code != DeviceCodeAnnual && code != DeviceCodeAnnualSpecialPriorities)
        return 0;
    // A saved program carries 73 only when it holds special priorities; a program of a
    // write-protectable device without them is saved as 72. The device it was made for is the
    // one the loader leaves in Bewft (set by code 73, otherwise the device in use).
    const bool plain = code == DeviceCodeAnnual && model.device.Bewft != 1;
    switch (channels) {
    case 1:
        return plain ? S1 : S10;
    case 2:
        return plain ? S2 : S11;
    case 3:
        return plain ? S3 : S12;
    case 4:
        if (model.device.BusDevice == 1)
            return plain ? S5 : S14;
        // The utility model, the only four-channel one with a program number or meter pulse.
        if (model.program().hasProgramNumber() || model.device.MessKanal != 0)
            return S18;
        return plain ? S4 : S13;
    default:
        return 0;
    }
}

void DeriveModelName(Model &model)
{
    const int slot = ModelNameSlot(model);
    const Brand &brand = BrandTable(model.BrandNumber);
    model.device.ModelName = (slot != 0 && brand.offers(slot)) ? brand.slotName(slot) : QString();
}

} // namespace zx
