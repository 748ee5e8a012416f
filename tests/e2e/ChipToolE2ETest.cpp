// The chip transfer through the cardio stand-in, started as a real process.
#include "TransferFixtures.h"

#include "app/AppContext.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtSerialPort.h"
#include "support/TempDir.h"
#include "transfer/DeviceTransfer.h"

namespace zx::test {
namespace {

// Confirms "Access to zentrix finished" only once the tool has left its result, as a user who
// watched the tool's window would.
class WaitingPrompter final : public ScriptedPrompter {
  public:
    QString resultFile;
    int patienceMs = 10000;
    void tell(const QString &message, Icon icon, const QString &title) override
    {
        ScriptedPrompter::tell(message, icon, title);
        if (message != QLatin1String("Access to zentrix finished"))
            return;
        QElapsedTimer t;
        t.start();
        // The tool writes card.dat before card.msg, each atomically: once the result is
        // there, everything is.
        while (!QFile::exists(resultFile) && t.elapsed() < patienceMs)
            QThread::msleep(10);
    }
};

class ChipToolE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    ChipToolE2E()
    {
        prompter.resultFile = dir.file(QStringLiteral("card.msg"));
        model.transfer.PortSetting = 1;
    }
    void settings(const QByteArray &ini) { dir.write(QStringLiteral("cardio.ini"), ini); }
    void saveSample()
    {
        fillSampleProgram(model);
        model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
        ASSERT_TRUE(SaveProgram(model, prompter, clock));
    }
    DeviceTransfer transfer()
    {
        DeviceTransfer t(ctx, port);
        t.setChipTool(QStringLiteral(ZX_CARDIO));
        return t;
    }
    void write()
    {
        transfer().WriteCommand([] { return true; });
    }
    void read()
    {
        transfer().ReadCommand([] { return true; });
    }

    TempDir dir;
    Model model;
    WaitingPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 2), QTime(8, 30))};
    SleepingEventPump pump;
    ProcessToolLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    QtSerialPort port;
};

TEST_F(ChipToolE2E, WriteThenReadRoundTrip)
{
    saveSample();
    write();
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
    // The tool took the transfer copy named by the catalogue.
    EXPECT_EQ(dir.read(QStringLiteral("File ")), dir.read(QStringLiteral("prog.zxp")));
    const QByteArray chip = dir.read(QStringLiteral("chip.img"));
    ASSERT_EQ(chip.size(), ImageSize);
    const auto written = imageOf(dir.file(QStringLiteral("prog.zxp")));
    ASSERT_TRUE(written);
    for (int i = 0; i < ImageSize; ++i)
        ASSERT_EQ(quint8(chip[i]), (*written)[i]) << i;

    Model original;
    ASSERT_EQ(LoadProgram(original, prompter, dir.file(QStringLiteral("prog.zxp")), false, SetProgram),
              LoadResult::Loaded);
    prompter.shown.clear();
    model.program().ChannelNames[1] = QStringLiteral("Fan");
    read();
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
    EXPECT_EQ(imageOf(dir.file(QStringLiteral("card.dat"))), written);
    expectSameProgram(original, model);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("unknown"));
    EXPECT_EQ(model.program().ChannelNames[1], QString()) << "the device holds no channel names";
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("Swprg1.zxp")));
}

struct CodeCase {
    int code;
    int address;
    const char *text;
};

class ChipToolCodeE2E : public ChipToolE2E, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(ChipToolCodeE2E, FailureCodeShowsItsText)
{
    const CodeCase c = GetParam();
    settings("result=" + QByteArray::number(c.code) + "\naddress=" + QByteArray::number(c.address) + "\n");
    model.transfer.PortSetting = 2;
    saveSample();
    write();
    ASSERT_EQ(prompter.shown.size(), 2u) << prompter.messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompter.shown[1].message, QString::fromLatin1(c.text));
    EXPECT_EQ(prompter.shown[1].icon, Icon::Critical);
    EXPECT_FALSE(dir.exists(QStringLiteral("chip.img")));
}

INSTANTIATE_TEST_SUITE_P(
    ResultCodes, ChipToolCodeE2E,
    ::testing::Values(CodeCase{1, 0, "No programing adapter at LPT 2 or delay to low!"},
                      CodeCase{2, 0, "No zentrix at the programing adapter or delay to low!"},
                      CodeCase{4, 112, "Error while writing address 112try to increase delay !"},
                      CodeCase{5, 7, "Error while writing address 7try to increase delay !"},
                      CodeCase{6, 2040, "Error while writing in address 2040try to increase delay !"},
                      CodeCase{7, 0, "Error while sending the read command ,try to increase delay !"}));

TEST_F(ChipToolE2E, StaleResultFileNeverReachesTheResultHandling)
{
    dir.write(QStringLiteral("card.msg"), "1,0\r\n");
    settings("delay_ms=300\n");
    saveSample();
    write();
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
    EXPECT_EQ(dir.read(QStringLiteral("card.msg")).trimmed(), QByteArray("3,0"));
}

TEST_F(ChipToolE2E, NoResultFileIsNotSuccessfulAndAReadLoadsNothing)
{
    settings("no_result=1\n");
    prompter.patienceMs = 1000;
    saveSample();
    dir.write(QStringLiteral("card.dat"), dir.read(QStringLiteral("prog.zxp"))); // an old image
    prompter.answers = {Answer::No};
    model.Modified = 1;
    read();
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("Save changes in ") + dir.file(QStringLiteral("prog.zxp")) +
                               QStringLiteral(" ?"),
                           QStringLiteral("Access to zentrix finished"),
                           QStringLiteral("Access to zentrix not successful")}));
    EXPECT_EQ(model.program().SzCount, 0);
    EXPECT_EQ(model.program().PzCount, 0);
    EXPECT_EQ(model.program().DstCount, 0);
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("prog.zxp")));
    EXPECT_EQ(model.Modified, 0);
}

TEST_F(ChipToolE2E, WritingAnEmptyProgramAsksItsQuestionOnce)
{
    model.program().FileName = dir.file(QStringLiteral("empty.zxp"));
    model.Modified = 1;
    prompter.answers = {Answer::Ok};
    write();
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("No data to save! Do you want to continue anyway  ?"),
                           QStringLiteral("Access to zentrix finished")}));
    EXPECT_EQ(model.ExportEmptyConfirmed, 0);
    EXPECT_TRUE(dir.exists(QStringLiteral("empty.zxp")));
    EXPECT_EQ(dir.read(QStringLiteral("chip.img")).size(), ImageSize);
}

} // namespace
} // namespace zx::test
