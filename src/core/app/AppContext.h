#pragma once

#include <QString>

namespace zx {

class Model;
class Prompter;
class Clock;
class EventPump;
class ToolLauncher;

// What every window and command is handed: the one model and the seams to the outside world.
struct AppContext {
    Model &model;
    Prompter &prompter;
    const Clock &clock;
    EventPump &pump;
    ToolLauncher &launcher;
    QString workDir;  // working directory: brand, configuration, exchange and data files
    QString startDir; // directory that was current when the program started
};

} // namespace zx
