#pragma once

#include "bus/BusTimings.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zx {

class BusLibrary;
class BusProgress;
class Clock;
class EventPump;
class Model;
class Prompter;

// What a bus operation needs from around it. The dialog and zentrix-cli fill it alike.
struct BusEnvironment {
    BusLibrary &library;
    EventPump &pump;
    const Clock &clock;
    Model &model;
    Prompter &prompter;
    QString workDir; // "protocol.txt", "remote.s19" and "appl.old" live here
    BusTimings timings{};
    BusProgress *progress = nullptr;
    // The port as the user named it (a device file, an interface's host), for the message of
    // 107; empty: "COM n" of the port index.
    QString portName{};
    // Asked while the operation waits: true ends it cleanly (LinkError::Interrupted).
    std::function<bool()> interrupted{};
};

enum class BusCommand { Program, Read, Reinstall };

// The outcome of a search or an operation: the link error (0 success) and, on failure, the
// message ReportError shows.
struct BusResult {
    int code = 0;
    QString message;
    bool ok() const { return code == 0; }
};

// One operation in one link period, with "protocol.txt" created afresh.
BusResult RunBusCommand(BusEnvironment &env, BusCommand command, int comIndex, int address);

struct BusSearchResult : BusResult {
    QStringList found; // "area.line.device" of every time switch of the brand that answered
};
// Checks the devices `from`..`to` of one line; `checking` hears each "checking device ..." text.
BusSearchResult SearchBusDevices(BusEnvironment &env, int comIndex, int area, int line, int from, int to,
                                 const std::function<void(const QString &)> &checking = {});

// The message box of a failed operation.
void ReportBusError(Prompter &prompter, const BusResult &result);

} // namespace zx
