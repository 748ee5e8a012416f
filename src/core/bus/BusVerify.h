#pragma once

namespace zx {

struct BusEnvironment;
struct BusResult;
class Model;

// Reads the bus device at `address` into `document`, a copy of the program that stands for
// what the device holds: counted and in display order, as the bus access dialog leaves a read.
// env.model (the program in memory) is not touched, whatever the outcome.
BusResult ReadBusDocument(BusEnvironment &env, int comIndex, int address, Model &document);

// After a successful Program: reads the device back into a copy of the program and tells the
// user "written and verified" or what the device holds differently. The program in memory
// stays as it is. true when the device holds what was written.
bool VerifyBusWrite(BusEnvironment &env, int comIndex, int address);

} // namespace zx
