#include "app/ModelNames.h"

#include "app/BrandTable.h"
#include "model/Model.h"

namespace zx {

int ModelNameSlot(const Model &model)
{
    using namespace Slot;
    const int code = model.device.DeviceCode & 0x7F;
    const int channels = model.device.Kanalzahl;
    if (code == 80 && channels >= 1 && channels <= 4)
        return S19;
    if (code != 72 && code != 73)
        return 0;
    switch (channels) {
    case 1: return code == 72 ? S1 : S10;
    case 2: return code == 72 ? S2 : S11;
    case 3: return code == 72 ? S3 : S12;
    case 4:
        return (!model.program().hasProgramNumber() && model.device.MessKanal == 0) ? S4 : S18;
    default: return 0;
    }
}

void DeriveModelName(Model &model)
{
    const int slot = ModelNameSlot(model);
    const Brand &brand = BrandTable(model.BrandNumber);
    model.device.ModelName = (slot != 0 && brand.offers(slot)) ? brand.slotName(slot) : QString();
}

} // namespace zx
