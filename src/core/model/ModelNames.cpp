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
    const bool plain = code == DeviceCodeAnnual;
    switch (channels) {
    case 1:
        return plain ? S1 : S10;
    case 2:
        return plain ? S2 : S11;
    case 3:
        return plain ? S3 : S12;
    case 4:
        return (!model.program().hasProgramNumber() && model.device.MessKanal == 0) ? S4 : S18;
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
