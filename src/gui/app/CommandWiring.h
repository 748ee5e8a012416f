#pragma once

namespace zx {

struct AppContext;
class MainWindow;

// Connects the main window's commands to the windows of the other subsystems.
void wireCommands(MainWindow &window, AppContext &context);

} // namespace zx
