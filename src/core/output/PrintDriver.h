#pragma once

#include "output/PrintLayout.h"

#include <QString>

#include <array>
#include <vector>

namespace zx {

class Model;
class PrintSink;

// The print flags, kept for the run of the program. Each list flag and the current-view flag
// are cleared once their list was printed; the redirect flag stays.
struct PrintSettings {
    bool switching = false;
    bool priority = false;
    bool changeover = false;
    bool astro = false;
    bool currentView = false;
    bool redirectToFile = false;
    bool csv = false; // the redirected lists as a CSV table beside the program file instead
    // The lists last chosen in the print dialog (switching, priority, changeover, astro), which
    // it offers again: the list flags themselves are cleared by printing.
    std::array<bool, 4> chosen{};

    bool anyList() const { return switching || priority || changeover || astro || currentView; }
};

namespace output {

// The lists the flags ask for, in the order switching times, priority times, changeover table,
// astro times (astro device only), each of set 0 without filter, then the current view as the
// main window shows it. Clears the flags of the lists taken. The main window's list, set and
// filter are switched only while a list is built and are back as they were on return, whatever
// happens.
std::vector<PrintedList> CollectPrintJob(Model &model, PrintSettings &settings, const ListOptions &options);

// Hands the lists to the sink, each paged by the header interval or by what fits on the sink's
// page, whichever breaks first, and ends the job. Empty on success, else the sink's error text.
QString PrintLists(const std::vector<PrintedList> &lists, PrintSink &sink);

// Whether the astro list can be printed (the astro device only).
bool AstroListPrintable(const Model &model);

} // namespace output
} // namespace zx
