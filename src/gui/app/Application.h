#pragma once

namespace zx {

// The desktop program: options, working directory, start screen, main window.
int runApplication(int argc, char *argv[]);

} // namespace zx
