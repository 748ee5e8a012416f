#include "Commands.h"
#include "UsageProblems.h"

#include "HeadlessPrompter.h"
#include "InterruptSignals.h"
#include "bus/BusAddress.h"
#include "bus/BusOperations.h"
#include "bus/BusSession.h"
#include "bus/Ft12BusLibrary.h"
#include "bus/KnxIpBusLibrary.h"
#include "model/BrandTable.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/ValueRanges.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/FileAccess.h"
#include "platform/QtSerialPort.h"
#include "platform/UdpSocket.h"

#include <QDir>
#include <QFileInfo>

namespace zx::cli {

namespace {

struct BusArgs {
    QString action;
    QString file;
    QString device;
    QString ip;
    QString address;
    std::optional<int> area, line, from, to;
};

bool parse(Options &o, BusArgs *a)
{
    QStringList args = o.positional;
    if (args.isEmpty())
        return false;
    a->action = args.takeFirst();
    const bool withFile = a->action == QLatin1String("program") || a->action == QLatin1String("read");
    if (withFile) {
        if (args.isEmpty())
            return false;
        a->file = args.takeFirst();
    }
    a->device = o.value("--port");
    a->ip = o.value("--ip");
    a->address = o.value("--address");
    a->area = o.integer("--area", {0, 15});
    a->line = o.integer("--line", {0, 15});
    a->from = o.integer("--from", Ranges::Byte);
    a->to = o.integer("--to", Ranges::Byte);
    if (!a->ip.isEmpty() && !KnxIpBusLibrary::ParseHost(a->ip)) {
        o.badValue("--ip", QStringLiteral("HOST[:PORT]"));
        return false;
    }
    // One way to the bus: a coupling unit on a serial port or an IP interface.
    if (o.failed() || !args.isEmpty() || a->device.isEmpty() == a->ip.isEmpty())
        return false;
    if (a->action == QLatin1String("search"))
        return a->area && a->line && a->from && a->to && a->address.isEmpty();
    return (withFile || a->action == QLatin1String("reinstall")) && !a->address.isEmpty() && !a->area;
}

// The operation's steps and gauge on standard error.
class StderrBusProgress final : public BusProgress {
  public:
    void setStep(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text.trimmed())); }
    void setGauge(int, int) override {}
};

// Against a simulated coupling unit the device's long waits only slow the tests down; a real
// device gets its own timings.
bool fastLink()
{
    return qEnvironmentVariableIntValue("ZENTRIX_FAST_LINK") == 1;
}

BusTimings busTimings()
{
    return fastLink() ? BusTimings::fast() : BusTimings{};
}

} // namespace

// Bus time switches through the bus coupling unit on DEV or an IP interface, with the working
// directory's "protocol.txt", and "remote.s19" and "appl.old" beside it. It reports as the
// serial commands do: the steps on standard error (not with --quiet), a failure in the one error
// line naming the file or the way to the bus, results alone on standard output.
int runBus(Options &o)
{
    BusArgs a;
    if (!parse(o, &a))
        return o.failed() ? 2 : o.usageError(BusUsageProblem(o));
    const bool reading = a.action == QLatin1String("read");
    // the same rule as every command that creates a file, checked before the device is touched
    if (reading && !mayCreate(o, a.file))
        return 1;
    if (const QString refusal = reading && !isStdio(a.file) ? WriteRefusal(ResolveLinks(a.file)) : QString();
        !refusal.isEmpty())
        return fail(a.file, refusal);
    const QString workDir = cli::workDir(o);
    if (workDir.isEmpty())
        return 1;

    Model model;
    const int brand = ReadBrandFile(QDir(workDir).filePath(BrandFileName()));
    model.BrandNumber = brand == 0 ? 1 : brand;
    setLanguage(model, o);
    HeadlessPrompter prompter;
    prompter.quietQuestions = o.quiet();
    SystemClock clock;
    SleepingEventPump pump;
    QtSerialPort port;
    UdpSocket socket;
    std::unique_ptr<BusLibrary> library;
    QString portName = a.device;
    if (a.ip.isEmpty()) {
        library = std::make_unique<Ft12BusLibrary>(port, pump, [&](int) { return a.device; });
    } else {
        const auto host = KnxIpBusLibrary::ParseHost(a.ip);
        auto ip = std::make_unique<KnxIpBusLibrary>(socket, pump, host->first, host->second,
                                                    fastLink() ? KnxIpTimings::fast() : KnxIpTimings{});
        portName = ip->hostText();
        library = std::move(ip);
    }
    // what a failure is about: the program file, else the way to the bus
    const QString subject = a.file.isEmpty() ? portName : a.file;
    prompter.file = subject;
    StderrBusProgress progress;
    BusEnvironment env{*library, pump,    clock,        model,
                       prompter, workDir, busTimings(), o.quiet() ? nullptr : &progress,
                       portName};
    const InterruptSignals interruptGuard;
    env.interrupted = [] { return InterruptSignals::caught() != 0; };
    const Catalogue &c = model.catalogue;

    if (a.action == QLatin1String("search")) {
        const BusSearchResult r = SearchBusDevices(env, 0, *a.area, *a.line, *a.from, *a.to);
        for (const QString &found : r.found)
            printLine(found);
        return r.ok() ? 0 : InterruptSignals::exitStatus(fail(subject, r.message));
    }

    const auto address = ParsePhysicalAddress(a.address);
    if (!address)
        return fail(QStringLiteral("--address ") + a.address, c(Msg::NoValidPhysicalAdress));

    BusCommand command = BusCommand::Reinstall;
    if (a.action == QLatin1String("program")) {
        command = BusCommand::Program;
        if (!loadProgramOrTell(model, o, a.file, TypeAnnual))
            return 1;
        if (model.device.BusDevice != 1)
            return fail(a.file, c(Msg::FormatConflictEIBConventionell));
    } else if (reading) {
        command = BusCommand::Read;
        // A bus time switch of four channels, unless the records read use channels 5 to 8.
        model.device.BusDevice = 1;
        model.device.Kanalzahl = 4;
        if (!isStdio(a.file))
            model.program().FileName = QFileInfo(a.file).absoluteFilePath();
    }

    const BusResult r = RunBusCommand(env, command, 0, *address);
    if (!r.ok()) {
        fail(subject, r.message);
        return InterruptSignals::exitStatus(fail(subject, c(Msg::NotSuccessful)));
    }
    if (command == BusCommand::Read) {
        if (model.program().DstCount > 0)
            model.device.SwRegel = 4;
        SortRecords(model, DisplayOrder, SetProgram);
        if (!saveProgramOrTell(model, o, a.file))
            return 1;
    }
    note(o, c(Msg::Ok));
    return 0;
}

} // namespace zx::cli
