#pragma once

namespace zx {

struct AppContext;
class MainWindow;

// The astro settings (mnuAstroEin) and the astro time change of the astro list
// (frm_change_grid_data) on the main window.
void wireAstroCommands(MainWindow &window, AppContext &context);

} // namespace zx
