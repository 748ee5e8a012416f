#pragma once

#include <QString>

namespace zx {

// Texts of the bus operations beyond the message catalogue, in the three built-in languages; a
// loaded language gets the English ones. %3 stands for the caption of the Reinstall button,
// which the caller takes from the catalogue.
enum class BusText {
    // %1: the device the saved application belongs to.
    SavedApplicationHeld,
    // %1: the device the saved application belongs to, %2: the device chosen.
    SavedApplicationOfAnother,
    // Appended to the message of a Program or Read that broke off.
    ReinstallHint,
    // %1: the host, %2: the interface's status code (hexadecimal).
    TunnelRefused,
    // %1: the host.
    TunnelLost,
    IpInterface,
    HostField,
    // %1: the text typed.
    NoValidHost,
    // %1: the host name.
    HostNotFound,
    // A transfer ended at the user's request (Ctrl-C, a termination signal).
    Interrupted,
};

QString busText(BusText id, int sprache);

} // namespace zx
