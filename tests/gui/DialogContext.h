#pragma once

#include "app/AppContext.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace zx::test {

// What a dialog needs around it: a model, a scripted prompter, a clock fixed on a Tuesday in
// March 2026 and a scratch working directory.
struct DialogContext {
    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    SleepingEventPump pump;
    ProcessToolLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
};

} // namespace zx::test
