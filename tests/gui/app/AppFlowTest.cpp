#include "app/AppFlow.h"

#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/StartScreen.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ToolLauncher.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace zx;

class AppFlowTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Model model;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(8, 0))};
    SleepingEventPump pump;
    test::RecordingLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    QList<QWidget *> messageParents;

    void SetUp() override { model.BrandNumber = 1; }
    void confirm(AppFlow &flow, const QString &modelName)
    {
        auto *list = test::Control<QListWidget>(flow.startScreen(), "lstModell");
        list->setCurrentItem(list->findItems(modelName, Qt::MatchExactly).value(0));
        QTest::mouseClick(test::Control<QPushButton>(flow.startScreen(), "cmd_ok"), Qt::LeftButton);
    }
};

TEST_F(AppFlowTest, OkOpensMainWindowAndNewReturnsToStartScreen)
{
    AppFlow flow(ctx, [this](QWidget *w) { messageParents << w; });
    flow.showStartScreen();
    ASSERT_NE(flow.startScreen(), nullptr);
    EXPECT_TRUE(flow.startScreen()->isVisible());
    EXPECT_EQ(flow.mainWindow(), nullptr);

    confirm(flow, "ZX 202");
    ASSERT_NE(flow.mainWindow(), nullptr);
    QPointer<MainWindow> first = flow.mainWindow();
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(flow.startScreen()->isVisible());
    EXPECT_EQ(model.device.ModelName, "ZX 202");
    EXPECT_EQ(messageParents.last(), first.data());

    // New: the start screen opens again with the settings just written preselected.
    first->showList(ListChangeover, SetProgram);
    Q_EMIT first->newRequested();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(flow.mainWindow(), nullptr);
    EXPECT_TRUE(flow.startScreen()->isVisible());
    EXPECT_EQ(test::Control<QListWidget>(flow.startScreen(), "lstModell")->currentItem()->text(), "ZX 202");
    EXPECT_EQ(messageParents.last(), flow.startScreen());

    confirm(flow, "ZX 401");
    ASSERT_NE(flow.mainWindow(), nullptr);
    EXPECT_EQ(model.device.RecordCapacity, 120);
    // Whatever the last window showed, the new one starts on the switching times of the program.
    EXPECT_EQ(model.ListView, ListSwitching);
    EXPECT_EQ(model.CurrentSet, SetProgram);
}

TEST_F(AppFlowTest, ClosingStartScreenFinishes)
{
    AppFlow flow(ctx);
    QSignalSpy finished(&flow, &AppFlow::finished);
    flow.showStartScreen();
    flow.startScreen()->reject();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(flow.mainWindow(), nullptr);
}
