// devsim bus: the simulated bus coupling unit with bus time switches behind it.
#include "BusCouplerSim.h"
#include "Pty.h"
#include "SimSupport.h"

#include <cstdio>
#include <string>

namespace devsim {

namespace {

int busUsage()
{
    std::fprintf(stderr,
                 "usage: devsim bus [--device A.L.D]... [--brand N] [--mask HEX] [--table-length N]\n"
                 "                  [--fault KIND] [--fault-count N] [--fault-after N] [--dump FILE]\n"
                 "                  [--byte-us N | --no-pace]\n"
                 "                  [--verbose]\n"
                 "  --device A.L.D  a time switch at this physical address (repeatable; default 1.1.5)\n"
                 "  --brand N       identification of brand 1..6 (default 1)\n"
                 "  --mask HEX      mask version (default 0012)\n"
                 "  --fault KIND    one of: %s\n"
                 "  --fault-count N fault only the first N times (busy: N mailbox answers); default always\n"
                 "  --fault-after N the fault strikes after N frames from the PC, in mid-transfer:\n"
                 "                  no-bcu the coupling unit goes silent, lost-ack it stops acknowledging,\n"
                 "                  no-device the time switch stops answering, babble it sends unrelated\n"
                 "                  frames without end\n"
                 "  SIGUSR1 ends the fault: the units work again in the state the fault left them in;\n"
                 "  SIGUSR2 makes the fault strike from the next frame on\n"
                 "  --dump FILE     the first time switch's memory 0x0104..0x01FE, one value a line\n",
                 busFaultNames());
    return 2;
}

} // namespace

int runBusSimulator(int argc, char *argv[])
{
    BusOptions options;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (takeDeviceOption(argc, argv, i, options)) {
            continue;
        } else if (arg == "--mask" && hasValue && toNumber(argv[i + 1], &number, 16)) {
            options.mask = int(number & 0xFFFF);
            ++i;
        } else if (arg == "--table-length" && hasValue && toNumber(argv[i + 1], &number)) {
            options.tableLength = int(number & 0xFF);
            ++i;
        } else if (arg == "--fault" && hasValue) {
            if (!parseBusFault(argv[++i], &options.fault))
                return busUsage();
        } else if (arg == "--byte-us" && hasValue && toNumber(argv[i + 1], &number)) {
            options.byteMicros = number;
            ++i;
        } else if (arg == "--no-pace") {
            options.byteMicros = 0;
        } else {
            return busUsage();
        }
    }

    BusCouplerSim::installSignalHandlers();
    Pty pty;
    if (!pty.open())
        return 1;
    BusCouplerSim sim(options);
    pty.announce();
    const int status = sim.run(pty.masterFd());
    std::fprintf(stderr, "devsim bus: %ld frames from the PC\n", sim.framesFromPc());
    return status;
}

} // namespace devsim
