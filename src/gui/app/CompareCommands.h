#pragma once

namespace zx {

struct AppContext;
class MainWindow;

// File > Compare with file..., Compare with device... and the Verify after writing option
// (mnuVergleichDatei, mnuVergleichGeraet, mnuSchreibenPruefen), placed before Exit.
void wireCompareCommands(MainWindow &window, AppContext &context);

} // namespace zx
