#pragma once

// What the simulators of devsim (serial, bus, ip) share: the clock, writing to the line,
// traces, option values and the names of their faults.
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace devsim {

// Microseconds of the monotonic clock.
long long nowMicros();

// Writes all bytes, again after an interruption; gives up on another error, or once
// `stopping` (when given) says the simulator is to end.
void writeAll(int fd, const std::uint8_t *bytes, std::size_t count, bool (*stopping)() = nullptr);

// "<label> <what> AA BB ..." on stderr; `twoDigits` pads every byte to two hex digits.
void traceBytes(const char *label, const char *what, const std::vector<std::uint8_t> &bytes, bool twoDigits);

// A whole non-negative number in `base`, nothing after it.
bool toNumber(const char *text, long *value, int base = 10);

// A physical address "area.line.device" (0..15, 0..15, 0..255), packed as the bus has it.
bool parsePhysicalAddress(const char *text, int *packed);

// SIGTERM and SIGINT end the simulator through `stop`; a reader that went away is no signal.
void onStopSignals(void (*stop)(int));

// A fault by its name on the command line.
template <class Fault> struct FaultName {
    const char *name;
    Fault fault;
};
template <class Fault, std::size_t N>
bool findFault(const FaultName<Fault> (&table)[N], const std::string &name, Fault *fault)
{
    for (const auto &f : table) {
        if (name == f.name) {
            *fault = f.fault;
            return true;
        }
    }
    return false;
}

} // namespace devsim
