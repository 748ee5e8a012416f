// Compare with device on a bus time switch, through devsim's simulated coupling unit on a
// pseudo-terminal: the read goes into a document of its own, the program stays as it was.
#include "MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "app/CompareBusDialog.h"
#include "app/CompareWindow.h"
#include "bus/BusSession.h"
#include "bus/Ft12BusLibrary.h"
#include "model/ListOrder.h"
#include "platform/ComPortMap.h"
#include "platform/QtSerialPort.h"
#include "support/DevSim.h"
#include "support/SamplePrograms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>

namespace zx::test {
namespace {

class CompareBusDevice : public MainWindowTest {
  protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"),
                                dir.file(QStringLiteral("remote.s19"))));
        model.device.BusDevice = 1;
        for (int i = 0; i < 6; ++i)
            model.appendRecord(SetProgram, weeklyTime(6 + i, 30, 0x1F, 1 << (i % 4), i % 2));
        model.recount(SetProgram);
        SortRecords(model, DisplayOrder, SetProgram);
        model.Modified = 0;
        wireCommands(*w, ctx);
    }

    // devsim bus on COM 1, with the time switch at 1.1.5.
    void startSim(QStringList faults = {})
    {
        sim = std::make_unique<DevSim>(QStringList{"bus", "--no-pace"} + faults);
        ASSERT_FALSE(sim->path().isEmpty());
        ComPortMap ports(dir.path());
        ports.setDevice(1, sim->path());
        ASSERT_TRUE(ports.save());
    }
    // Writes `program` into the device past the main window, as another installer would.
    void programDevice(const Model &program)
    {
        Model other = program;
        QtSerialPort port;
        Ft12BusLibrary library(port, pump, [&](int) { return sim->path(); });
        BusEnvironment env{library, pump, clock, other, prompter, dir.path(), BusTimings::fast()};
        const BusResult r = RunBusCommand(env, BusCommand::Program, 0, 0x1105);
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
    }
    // File > Compare with device..., the address and Read and compare.
    CompareBusDialog *compare()
    {
        find<QAction>("mnuVergleichGeraet")->trigger();
        auto *frm = find<CompareBusDialog>("frmVergleichBus");
        frm->setBusTimings(BusTimings::fast());
        Control<QLineEdit>(frm, "txtPhysadr")->setText(QStringLiteral("1.1.5"));
        Control<QPushButton>(frm, "cmdVergleichen")->click();
        return frm;
    }

    std::unique_ptr<DevSim> sim;
};

TEST_F(CompareBusDevice, ShowsWhatTheDeviceHoldsDifferentlyAndNothingForTheSame)
{
    startSim();
    programDevice(model);
    const ProgramSet before = model.program();

    compare();
    auto *frm = find<CompareWindow>("frmVergleich");
    // the names and the verdict, no empty box
    const QString summary = Control<QLabel>(frm, "lblVergleich")->text();
    EXPECT_TRUE(summary.endsWith("\n\nThe programs are the same.")) << qPrintable(summary);
    EXPECT_TRUE(summary.contains("\nB: device")) << qPrintable(summary);
    EXPECT_EQ(frm->tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(frm->tree()->isVisibleTo(frm));

    // Someone changes the device behind the program's back: one time more, one time less.
    Model changed = model;
    changed.program().Records[0] = weeklyTime(21, 0, 0x60, 1, 1);
    SortRecords(changed, DisplayOrder, SetProgram);
    programDevice(changed);
    compare();
    frm = find<CompareWindow>("frmVergleich");
    ASSERT_EQ(frm->tree()->topLevelItemCount(), 1);
    EXPECT_TRUE(frm->tree()->isVisibleTo(frm));
    QTreeWidgetItem *list = frm->tree()->topLevelItem(0);
    QStringList groups;
    for (int i = 0; i < list->childCount(); ++i)
        groups << list->child(i)->text(0) + QStringLiteral(":%1").arg(list->child(i)->childCount());
    EXPECT_EQ(groups, QStringList({"only in A:1", "only in B:1"}));

    EXPECT_EQ(model.program().Records, before.Records) << "the program in memory stays as it was";
    EXPECT_EQ(model.program().UsedCount, before.UsedCount);
    EXPECT_EQ(model.Modified, 0);
    EXPECT_EQ(w->findChild<QUndoStack *>()->count(), 0) << "a comparison is no step to undo";
    EXPECT_TRUE(prompter.shown.empty()) << prompter.messages().join('\n').toStdString();
}

// A device that never answers, and a coupling unit that goes silent in the middle of the read.
class CompareBusFault : public CompareBusDevice, public ::testing::WithParamInterface<QStringList> {};

TEST_P(CompareBusFault, ReportsAndLeavesTheProgramAlone)
{
    startSim(GetParam());
    const ProgramSet before = model.program();
    CompareBusDialog *dialog = compare();

    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(dialog->isVisible()) << "the user may try again or cancel";
    EXPECT_FALSE(dialog->running());
    EXPECT_EQ(Control<QLabel>(dialog, "lblStatus")->text(), model.catalogue(Msg::NotSuccessful));
    EXPECT_EQ(w->findChild<CompareWindow *>(), nullptr);
    EXPECT_EQ(model.program().Records, before.Records);
    EXPECT_EQ(model.Modified, 0);
    Control<QPushButton>(dialog, "cmdAbbrechen")->click();
    EXPECT_FALSE(dialog->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Faults, CompareBusFault,
                         ::testing::Values(QStringList{"--fault", "no-device"},
                                           QStringList{"--fault", "no-bcu", "--fault-after", "40"}));

} // namespace
} // namespace zx::test
