#include "MainWindowFixture.h"

#include "app/CommandWiring.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>

using namespace zx;
using namespace zx::test;

TEST_F(MainWindowTest, WiredTransferAndOptionsCommandsBecomeAvailable)
{
    wireCommands(*w, ctx);
    w->updateActions();
    for (const char *name : {"mnuDatExp", "mnuDatImp", "mnuMaster"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, OptionsDialogOpensOnceAndMasterCardShowsInStatus)
{
    wireCommands(*w, ctx);
    model.device.ModelName = QStringLiteral("ZX 104");
    w->redrawList();
    auto *status = find<QLabel>("lblGeraetStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("ZX 104"));

    act("mnuMaster")->trigger();
    act("mnuMaster")->trigger();
    QList<QWidget *> dialogs;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("FrmMaster") && top->isVisible())
            dialogs << top;
    ASSERT_EQ(dialogs.size(), 1);

    auto *master = dialogs.first()->findChild<QRadioButton *>(QStringLiteral("optmastercard"));
    ASSERT_NE(master, nullptr);
    master->click();
    EXPECT_TRUE(model.device.DeviceCode & 0x80);
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("Mastercard")));
    dialogs.first()->close();
}
