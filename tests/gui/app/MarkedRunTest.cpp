// Change and Copy through the main window: every marked row is walked, whether confirmed one
// by one or with "all", and a changed record moving to another place in the list neither ends
// nor derails the run (the list is redrawn after every OK, which clears the grid's marks).
#include "MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "entry/EntryStore.h"
#include "model/ProgramFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QListWidget>

using namespace zx;
using namespace zx::test;

namespace {

struct RunCase {
    const char *name;
    int mode;              // EditChange or EditCopy
    bool all;              // "all" instead of one OK per row
    std::vector<int> rows; // grid rows marked; consecutive ones with Shift, else with Ctrl
};

void PrintTo(const RunCase &c, std::ostream *os)
{
    *os << c.name;
}

class MarkedRuns : public MainWindowTest, public ::testing::WithParamInterface<RunCase> {
  protected:
    static constexpr int Records = 7;

    static QDialog *entry() { return ShownWindow<QDialog>("frmEingSz"); }
    void click(const char *name) { Control<QAbstractButton>(entry(), name)->click(); }

    // Seven Monday switching times 6:00 .. 12:00 on channel 1, ON.
    static ProgramRecord At(int hour) { return Weekly(hour, 0, 1, 1, 1); }

    void loadSample()
    {
        Model sample;
        sample.device = model.device;
        for (int h = 0; h < Records; ++h)
            ASSERT_TRUE(sample.appendRecord(SetProgram, At(6 + h)));
        sample.program().FileName = dir.file(QStringLiteral("sample.zxp"));
        ASSERT_TRUE(SaveProgram(sample, prompter, clock));
        prompter.files.push_back(sample.program().FileName);
        act("mnuDatVorlageOeffnen")->trigger();
        ASSERT_EQ(model.CurrentSet, SetTemplate);
    }

    void mark(const std::vector<int> &rows)
    {
        const bool range = rows.back() - rows.front() + 1 == static_cast<int>(rows.size());
        clickRow(rows.front());
        if (range) {
            clickRow(rows.back(), Qt::ShiftModifier);
        } else {
            for (std::size_t i = 1; i < rows.size(); ++i)
                clickRow(rows[i], Qt::ControlModifier);
        }
        ASSERT_EQ(model.Marked.size(), rows.size());
    }

    // The hours of the records of Program that are OFF (change) or on channel 2 (copy).
    std::vector<int> touchedHours() const
    {
        std::vector<int> hours;
        const ProgramSet &p = model.program();
        for (int i = 0; i < p.UsedCount; ++i) {
            const ProgramRecord &r = p.Records[i];
            if ((r.b5 & 1) == 0 || r.b4 == 2)
                hours.push_back(MinuteOfDay(r) / 60);
        }
        std::sort(hours.begin(), hours.end());
        return hours;
    }
};

TEST_P(MarkedRuns, EveryMarkedRowIsWalked)
{
    const RunCase &c = GetParam();
    wireCommands(*w, ctx);
    if (c.mode == EditCopy) {
        loadSample();
    } else {
        for (int h = 0; h < Records; ++h)
            add(At(6 + h));
        w->redrawList();
    }
    mark(c.rows);
    std::vector<int> expected;
    for (int row : c.rows)
        expected.push_back(6 + row);
    std::sort(expected.begin(), expected.end());
    w->updateActions();
    act(c.mode == EditCopy ? "mnuKopieren" : "mnuAendern")->trigger();
    ASSERT_NE(entry(), nullptr);
    ASSERT_EQ(model.EditMode, c.mode);

    const int n = static_cast<int>(c.rows.size());
    if (c.mode == EditCopy) {
        click("chkKan2"); // copies take the dialog's channels
    } else {
        // The first row moves to the end of the list by its new time and goes OFF.
        Control<QListWidget>(entry(), "liststd")->setCurrentRow(23);
        click("cmdEinAus");
    }
    if (c.all) {
        if (c.mode == EditChange) {
            // A change run offers "all" with the automation, which switches each next row OFF.
            model.automation.IncState = 1;
            click("Chkautopil");
        }
        click("Cmdalleok");
        ASSERT_TRUE(QTest::qWaitFor([&] { return entry() == nullptr; }, 5000));
    } else {
        for (int i = 0; i < n; ++i) {
            ASSERT_NE(entry(), nullptr) << "closed after " << i << " of " << n << " rows";
            // the dialog says which of the marked rows it is on
            EXPECT_TRUE(entry()->windowTitle().endsWith(QStringLiteral("  (%1 of %2)").arg(i + 1).arg(n)))
                << entry()->windowTitle().toStdString();
            if (c.mode == EditChange && i > 0)
                click("cmdEinAus");
            click("cmdSzOk");
            QApplication::processEvents();
        }
        EXPECT_EQ(entry(), nullptr);
    }

    EXPECT_EQ(model.EditMode, EditEnter);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join(QLatin1Char('|')).toStdString();
    if (c.mode == EditCopy) {
        EXPECT_EQ(model.program().UsedCount, n);
        EXPECT_EQ(touchedHours(), expected);
    } else {
        EXPECT_EQ(model.program().UsedCount, Records);
        // The first marked row now stands at 23:00.
        expected.erase(std::find(expected.begin(), expected.end(), 6 + c.rows.front()));
        expected.push_back(23);
        EXPECT_EQ(touchedHours(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(ThreeAndFiveRows, MarkedRuns,
                         ::testing::Values(RunCase{"ChangeThreeByOk", EditChange, false, {1, 2, 3}},
                                           RunCase{"ChangeFiveByOk", EditChange, false, {0, 2, 3, 5, 6}},
                                           RunCase{"ChangeFiveWithAll", EditChange, true, {0, 1, 2, 3, 4}},
                                           RunCase{"CopyThreeByOk", EditCopy, false, {4, 5, 6}},
                                           RunCase{"CopyFiveByOk", EditCopy, false, {6, 0, 2, 4, 5}},
                                           RunCase{"CopyThreeWithAll", EditCopy, true, {0, 1, 2}},
                                           RunCase{"CopyFiveWithAll", EditCopy, true, {1, 2, 3, 4, 5}}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
