#pragma once

namespace zx {

class Model;

// The list a view command shows: the program's three lists, the sample's three, the astro table.
enum class ViewCommand {
    Switching,
    Priority,
    Changeover,
    SampleSwitching,
    SamplePriority,
    SampleChangeover,
    Astro
};

// Which commands of the main window the state of the program allows. A command whose dialog
// belongs to another window also needs that window to be present; that part is the window's.
struct CommandAvailability {
    bool save = false;          // File > Save: the program has a file name (else Save As asks)
    bool closeSample = false;   // a sample is open
    bool busAccess = false;     // bus time switches are reached through the bus coupling unit
    bool astroCommands = false; // astro data entry and the astro list exist on astro devices only
    bool deleteMarked = false;
    bool changeMarked = false; // also needs the entry dialog of the shown list
    bool copyMarked = false;   // also needs the entry dialog of the shown list
    bool viewPriority = false;
    bool viewChangeover = false;
    bool viewSample = false;
    bool viewAstro = false;
    bool simulation = false;                     // something to simulate: records, or computed astro times
    ViewCommand ticked = ViewCommand::Switching; // the view command of the list shown
};

// `sampleLoaded`: a sample program is open beside the program.
CommandAvailability AvailableCommands(const Model &model, bool sampleLoaded);

} // namespace zx
