#include "app/CommandAvailability.h"

#include "model/ListKinds.h"
#include "model/Model.h"

namespace zx {
namespace {

ViewCommand tickedView(const Model &m)
{
    if (m.ListView == ListAstro)
        return ViewCommand::Astro;
    const bool sample = m.CurrentSet == SetTemplate;
    switch (m.ListView) {
    case ListPriority:
        return sample ? ViewCommand::SamplePriority : ViewCommand::Priority;
    case ListChangeover:
        return sample ? ViewCommand::SampleChangeover : ViewCommand::Changeover;
    default:
        return sample ? ViewCommand::SampleSwitching : ViewCommand::Switching;
    }
}

} // namespace

CommandAvailability AvailableCommands(const Model &m, bool sampleLoaded)
{
    const ProgramSet &p = m.program();
    const bool astroDevice = m.device.Uhrentyp == TypeAstro;
    const bool astroTimes = astroDevice && m.astro.AstroPresent != 0;
    const bool marked = !m.Marked.empty();
    CommandAvailability c;
    c.save = m.FileNamed != 0;
    c.closeSample = sampleLoaded;
    c.busAccess = m.device.BusDevice == 1 || m.device.Busprog != 0;
    c.astroCommands = astroDevice;
    // The sample is only read; astro rows are days, which cannot be deleted or copied.
    c.deleteMarked = marked && m.CurrentSet == SetProgram && m.ListView != ListAstro;
    c.changeMarked = marked && m.CurrentSet == SetProgram;
    c.copyMarked = marked && m.CurrentSet == SetTemplate && m.ListView != ListAstro;
    c.viewPriority = p.PzCount > 0;
    c.viewChangeover = p.DstCount > 0;
    c.viewSample = sampleLoaded;
    c.viewAstro = astroTimes;
    c.simulation = p.UsedCount > 0 || astroTimes;
    c.ticked = tickedView(m);
    return c;
}

} // namespace zx
