#pragma once

#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/DevSim.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace zx::test {

// QSerialPort and QProcess want an application object.
inline void ensureApplication()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "zentrix_e2e_tests";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

// A full program of the annual device: every record slot used, all record kinds, a changeover
// table, meter pulse, program number, usage text and channel names.
inline void fillSampleProgram(Model &model)
{
    fillFullAnnual(model);
}

// What a program is, independent of the moment it was saved.
inline void expectSameProgram(const Model &a, const Model &b)
{
    const ProgramSet &p = a.program();
    const ProgramSet &q = b.program();
    ASSERT_EQ(p.UsedCount, q.UsedCount);
    EXPECT_EQ(p.SzCount, q.SzCount);
    EXPECT_EQ(p.PzCount, q.PzCount);
    for (int i = 0; i < p.UsedCount; ++i)
        EXPECT_EQ(p.Records[i], q.Records[i]) << "record " << i;
    EXPECT_EQ(p.DstCount, q.DstCount);
    EXPECT_EQ(p.DstTable, q.DstTable);
    EXPECT_EQ(p.DstFirstYear, q.DstFirstYear);
    EXPECT_EQ(a.device.DeviceCode, b.device.DeviceCode);
    EXPECT_EQ(a.device.Kanalzahl, b.device.Kanalzahl);
    EXPECT_EQ(a.device.SwRegel, b.device.SwRegel);
    EXPECT_EQ(p.ProgramNumber, q.ProgramNumber);
    EXPECT_EQ(a.device.MessKanal, b.device.MessKanal);
}

inline std::optional<std::array<int, ImageSize>> imageOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadImageValues(f.readAll());
}

// Whether this system hands out pseudo-terminals, which devsim needs to stand in for a serial
// port (containers without /dev/pts do not).
inline bool pseudoTerminalAvailable()
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool usable = ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 && ::ptsname(fd) != nullptr;
    ::close(fd);
    return usable;
}

#define ZX_SKIP_WITHOUT_PSEUDO_TERMINAL()                                                                    \
    do {                                                                                                     \
        if (!::zx::test::pseudoTerminalAvailable())                                                          \
            GTEST_SKIP() << "skipped: the simulated serial device needs a pseudo-terminal (/dev/ptmx), and " \
                            "this system offers none";                                                       \
    } while (false)

} // namespace zx::test
