#include "transfer/SerialPortsDialog.h"

#include "platform/ComPortMap.h"
#include "support/TempDir.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

TEST(SerialPortsDialogTest, TypedPathBecomesTheDeviceOfItsComPort)
{
    TempDir dir;
    SerialPortsDialog d(dir.path());
    auto *com2 = d.findChild<QComboBox *>(QStringLiteral("cboCom2"));
    ASSERT_NE(com2, nullptr);
    EXPECT_EQ(com2->currentText(), QStringLiteral("/dev/ttyS1"));
    com2->setCurrentText(QStringLiteral("/dev/ttyUSB0"));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(ComPortMap(dir.path()).device(2), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ComPortMap(dir.path()).device(1), QStringLiteral("/dev/ttyS0"));

    SerialPortsDialog again(dir.path());
    EXPECT_EQ(again.findChild<QComboBox *>(QStringLiteral("cboCom2"))->currentText(),
              QStringLiteral("/dev/ttyUSB0"));
}

} // namespace
} // namespace zx::test
