#pragma once

namespace zx {

struct BusEnvironment;

// After a successful Program: reads the device back into a copy of the program and tells the
// user "written and verified" or what the device holds differently. The program in memory
// stays as it is. true when the device holds what was written.
bool VerifyBusWrite(BusEnvironment &env, int comIndex, int address);

} // namespace zx
