#include "app/LoadFailure.h"

#include "i18n/Msg.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/SystemReasons.h"

namespace zx {

QString OtherDeviceName(const Model &model, LoadResult result)
{
    const Brand &brand = BrandTable(model.BrandNumber);
    // A brand without an astro model still gets told the file is for an astro device.
    if (result == LoadResult::OtherType236)
        return brand.offers(Slot::S19) ? brand.slotName(Slot::S19)
                                       : model.catalogue.text(Msg::AstronomicalTimes);
    return brand.shortDeviceName;
}

QString LoadFailureText(const Model &model, LoadResult result, const QString &reason)
{
    const Catalogue &c = model.catalogue;
    switch (result) {
    case LoadResult::Loaded:
        return {};
    case LoadResult::Unreadable:
        return TranslateReasons(reason, c.language());
    case LoadResult::Missing:
        return c(Msg::NoSuchFile);
    case LoadResult::GroupConflict:
        return c(Msg::FormatConflictEIBConventionell);
    case LoadResult::OtherType517:
    case LoadResult::OtherType236:
        return c(Msg::FileFor) + QLatin1Char(' ') + OtherDeviceName(model, result);
    case LoadResult::Invalid:
    case LoadResult::MasterCard: // option bits for the device, no program to open
        break;
    }
    return c(Msg::IllegalFile);
}

} // namespace zx
