#pragma once

#include "Options.h"

#include <QString>

namespace zx::cli {

// What is wrong with a call whose arguments do not fit the command's forms, for the usage error
// of commands whose checks are one combined condition: the first argument too many, the first
// option missing or the first pair that excludes each other, in the command line's language.
QString EasterUsageProblem(const Options &o);
QString SummertimeUsageProblem(const Options &o);
QString HolidaysUsageProblem(const Options &o);
QString SimulateUsageProblem(const Options &o);
QString BusUsageProblem(const Options &o);

} // namespace zx::cli
