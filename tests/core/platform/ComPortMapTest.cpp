#include "platform/ComPortMap.h"

#include "platform/FileAccess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

// The port choice file as a user may have edited it: which device file each COM port takes.
struct ReadCase {
    const char *name;
    const char *text;
    int com;
    const char *device;
};

const ReadCase readCases[] = {
    {"Chosen", "[ports]\nCOM2=/dev/ttyUSB0\n", 2, "/dev/ttyUSB0"},
    {"OthersKeepTheirDefault", "[ports]\nCOM2=/dev/ttyUSB0\n", 1, "/dev/ttyS0"},
    {"SectionAndKeyInAnyCase", "[PORTS]\r\ncom3 = \"/dev/ttyACM1\" \r\n", 3, "/dev/ttyACM1"},
    {"BeforeAnySection", "COM2=/dev/ttyUSB0\n", 2, "/dev/ttyS1"},
    {"OtherSection", "[ports]\n[other]\nCOM2=/dev/ttyUSB0\n", 2, "/dev/ttyS1"},
    {"BackInPorts", "[other]\nCOM2=/dev/ttyUSB1\n[ports]\nCOM2=/dev/ttyUSB0\n", 2, "/dev/ttyUSB0"},
    {"FirstPort", "[ports]\nCOM1=/dev/ttyUSB0\n", 1, "/dev/ttyUSB0"},
    {"NoPortZero", "[ports]\nCOM0=/dev/ttyUSB0\n", 1, "/dev/ttyS0"},
    {"NumberMissing", "[ports]\nCOMx=/dev/ttyUSB0\n", 1, "/dev/ttyS0"},
    {"NoEqualsSign", "[ports]\nCOM2 /dev/ttyUSB0\n", 2, "/dev/ttyS1"},
    {"EmptyValue", "[ports]\nCOM2=\n", 2, "/dev/ttyS1"},
    {"EmptyQuotes", "[ports]\nCOM2=\"\"\n", 2, "/dev/ttyS1"},
    {"HalfQuotedIsKept", "[ports]\nCOM2=\"/dev/ttyUSB0\n", 2, "\"/dev/ttyUSB0"},
    {"BeyondTheFourPorts", "[ports]\nCOM7=/dev/ttyUSB3\n", 7, "/dev/ttyUSB3"},
};

class ComPortFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ComPortFile, GivesTheDeviceOfAPort)
{
    const ReadCase &c = GetParam();
    const test::TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir.file(QLatin1String(ComPortMap::FileName)), QByteArray(c.text)));
    EXPECT_EQ(ComPortMap(dir.path()).device(c.com), QString::fromUtf8(c.device));
}

INSTANTIATE_TEST_SUITE_P(Cases, ComPortFile, ::testing::ValuesIn(readCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A blank choice or the port's own default drops the choice; ports beyond the four keep theirs
// through a save.
TEST(ComPortMapSave, KeepsOnlyRealChoices)
{
    const test::TempDir dir;
    ComPortMap ports(dir.path());
    ports.setDevice(2, QStringLiteral("/dev/ttyUSB0"));
    ports.setDevice(7, QStringLiteral("/dev/ttyUSB3"));
    ports.setDevice(ComPortMap::PortCount, QStringLiteral("/dev/ttyUSB1"));
    ports.setDevice(2, QStringLiteral("  "));
    EXPECT_EQ(ports.device(2), QStringLiteral("/dev/ttyS1"));
    ASSERT_TRUE(ports.save());
    const ComPortMap reread(dir.path());
    for (int com = 1; com < ComPortMap::PortCount; ++com)
        EXPECT_EQ(reread.device(com), ComPortMap::defaultDevice(com)) << com;
    EXPECT_EQ(reread.device(ComPortMap::PortCount), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(reread.device(7), QStringLiteral("/dev/ttyUSB3"));
    // One line for each port.
    EXPECT_EQ(dir.read(QLatin1String(ComPortMap::FileName)),
              QByteArray("[ports]\nCOM1=/dev/ttyS0\nCOM2=/dev/ttyS1\nCOM3=/dev/ttyS2\nCOM4=/dev/ttyUSB1\n"
                         "COM7=/dev/ttyUSB3\n"));
}

} // namespace
} // namespace zx
