#pragma once

#include <QString>

namespace zx {

// The way to the bus the bus access dialog offers at its next opening: the coupling unit on
// COM 1 or COM 2, or an IP interface by host (and optional port). It is kept in
// "businterface.ini" in the working directory, two lines:
//
//     INTERFACE=ip
//     HOST=192.168.1.20:3671
struct BusInterfaceChoice {
    static constexpr const char *FileName = "businterface.ini";
    enum class Kind { Com1, Com2, Ip };
    Kind kind = Kind::Com1;
    QString host;

    // The choice kept in `workDir`; COM 1 without a file or with one that holds no choice.
    static BusInterfaceChoice Load(const QString &workDir);
    bool save(const QString &workDir, QString *error = nullptr) const;
};

} // namespace zx
