#include "app/AppFlow.h"

#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/StartScreen.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ToolLauncher.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

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

// The file named on the command line opens after the first OK, with the Open command's messages.
TEST_F(AppFlowTest, FileGivenAtStartOpensAfterOk)
{
    const struct {
        const char *file;
        std::optional<Msg::Id> message; // none: the file opens
    } cases[] = {
        {"full517.zxp", std::nullopt},
        {"missing.zxp", Msg::NoSuchFile},
        {"broken-truncated.zxp", Msg::IllegalFile},
        {"full236.zxp", Msg::FileFor},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        prompter.shown.clear();
        model.program().clear();
        model.FileNamed = 0;
        const QString path = QStringLiteral(ZX_TEST_DATA "/") + QLatin1String(c.file);
        AppFlow flow(ctx);
        flow.openAfterStart(path);
        flow.showStartScreen();
        EXPECT_TRUE(prompter.shown.empty()); // nothing before the start screen's OK
        confirm(flow, "ZX 202");
        ASSERT_NE(flow.mainWindow(), nullptr);
        if (!c.message) {
            EXPECT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
            EXPECT_EQ(model.FileNamed, 1);
            EXPECT_EQ(model.program().FileName, path);
            EXPECT_GT(flow.mainWindow()->shownList().rows.size(), 0u);
        } else {
            ASSERT_EQ(prompter.shown.size(), 1u);
            EXPECT_TRUE(prompter.last().startsWith(model.catalogue(*c.message)))
                << prompter.last().toStdString();
            EXPECT_EQ(model.FileNamed, 0);
        }
        // A later New and OK does not open the file again.
        prompter.shown.clear();
        Q_EMIT flow.mainWindow()->newRequested();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        confirm(flow, "ZX 202");
        EXPECT_TRUE(prompter.shown.empty());
    }
}

// Qt's own dialogs follow the language chosen on the start screen.
TEST_F(AppFlowTest, StandardDialogsSpeakTheChosenLanguage)
{
    const struct {
        const char *button;
        const char *cancel;
    } cases[] = {{"AniDeutsch", "Abbrechen"}, {"AniFrance", "Annuler"}, {"AniEnglisch", "Cancel"}};
    AppFlow flow(ctx);
    flow.showStartScreen();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        QTest::mouseClick(flow.startScreen()->findChild<QAbstractButton *>(c.button), Qt::LeftButton);
        confirm(flow, "ZX 202");
        if (QString(c.cancel) != "Cancel" &&
            QCoreApplication::translate("QPlatformTheme", "Cancel") == "Cancel")
            GTEST_SKIP() << "Qt's translations are not installed";
        QFileDialog open;
        open.setOption(QFileDialog::DontUseNativeDialog);
        open.setAcceptMode(QFileDialog::AcceptOpen);
        auto *box = open.findChild<QDialogButtonBox *>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text().remove('&'), c.cancel);
        Q_EMIT flow.mainWindow()->newRequested();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
