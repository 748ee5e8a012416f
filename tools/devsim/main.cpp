// devsim: simulated devices on a pseudo-terminal. The first line on stdout is the path of the
// pseudo-terminal's slave side, the device file a client opens; the simulator then serves it
// until it is terminated.
#include "Pty.h"
#include "SerialInterfaceSim.h"
#include "SimSupport.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace devsim {
int runBusSimulator(int argc, char *argv[]);
int runIpSimulator(int argc, char *argv[]);
} // namespace devsim

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: devsim bus ... (devsim bus --help)\n"
                 "       devsim ip ... (devsim ip --help)\n"
                 "       devsim [serial] [--memory FILE] [--fault KIND] [--fault-count N] [--pieces]\n"
                 "              [--gap-ms N] [--byte-us N | --no-pace] [--verbose]\n"
                 "  serial        the serial programming interface with a 2048-byte device memory\n"
                 "  --memory FILE device memory kept in FILE (2048 bytes; created by the first write)\n"
                 "  --fault KIND  one of: %s\n"
                 "  --fault-count fail only the first N frames, then answer correctly\n"
                 "  --pieces      answers leave in three pieces, --gap-ms apart (default 30)\n"
                 "  --byte-us N   microseconds per byte on the line (default 1042: 9600 baud, 8N1)\n"
                 "  --no-pace     answer at once, without the line's byte time\n",
                 devsim::faultNames());
    return 2;
}

void onSignal(int)
{
    devsim::SerialInterfaceSim::stop();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "bus") == 0)
        return devsim::runBusSimulator(argc - 2, argv + 2);
    if (argc > 1 && std::strcmp(argv[1], "ip") == 0)
        return devsim::runIpSimulator(argc - 2, argv + 2);
    devsim::SerialOptions options;
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "serial") == 0)
        ++i;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (arg == "--memory" && hasValue) {
            options.memoryFile = argv[++i];
        } else if (arg == "--fault" && hasValue) {
            if (!devsim::parseFault(argv[++i], &options.fault))
                return usage();
        } else if (arg == "--fault-count" && hasValue && devsim::toNumber(argv[i + 1], &number)) {
            options.faultCount = static_cast<int>(number);
            ++i;
        } else if (arg == "--pieces") {
            options.pieces = true;
        } else if (arg == "--gap-ms" && hasValue && devsim::toNumber(argv[i + 1], &number)) {
            options.gapMs = static_cast<int>(number);
            ++i;
        } else if (arg == "--byte-us" && hasValue && devsim::toNumber(argv[i + 1], &number)) {
            options.byteMicros = number;
            ++i;
        } else if (arg == "--no-pace") {
            options.byteMicros = 0;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else {
            return usage();
        }
    }

    devsim::onStopSignals(onSignal);
    devsim::Pty pty;
    if (!pty.open())
        return 1;
    devsim::SerialInterfaceSim sim(options);
    pty.announce();
    return sim.run(pty.masterFd());
}
