#include "transfer/DeviceTransfer.h"

#include "app/AppContext.h"
#include "core/transfer/SerialFakes.h"
#include "model/DeviceCodes.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/ToolLauncher.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

// Runs the "tool" synchronously inside start(), so the result is there when the user confirms.
class FakeLauncher final : public ToolLauncher {
  public:
    std::function<void()> tool;
    QString startError;
    QStringList started;
    bool start(const QString &program, const QStringList &, const QString &, QString *error) override
    {
        started << program;
        if (!startError.isEmpty()) {
            *error = startError;
            return false;
        }
        if (tool)
            tool();
        return true;
    }
};

class DeviceTransferTest : public ::testing::Test {
  protected:
    DeviceTransferTest()
    {
        model.transfer.PortSetting = 1;
        model.transfer.Delay = 12;
        model.transfer.LongDelayFactor = 50;
        model.device.Sprache = English;
        model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
        model.program().UsedCount = 1; // not an empty program
        dir.write(QStringLiteral("prog.zxp"), "the program file");
        port.responder = std::ref(device);
    }
    DeviceTransfer make()
    {
        DeviceTransfer t(ctx, port);
        t.setChipTool(QStringLiteral("cardio-test"));
        t.setSerialTimings({500, 100, 0});
        return t;
    }
    QList<QByteArray> requestLines() const
    {
        return dir.read(QStringLiteral("zentrix.msg")).split('\n').mid(0, 6);
    }
    void toolResult(const QByteArray &cardMsg)
    {
        launcher.tool = [this, cardMsg] { dir.write(QStringLiteral("card.msg"), cardMsg); };
    }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 1, 1), QTime(0, 0))};
    VirtualPump pump;
    FakeLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    ScriptedSerialPort port{pump};
    MemoryDevice device;
    int saves = 0;
    std::function<bool()> save = [this] {
        ++saves;
        model.Modified = 0;
        return true;
    };
};

TEST_F(DeviceTransferTest, ParallelWriteRequestAndTransferCopy)
{
    toolResult("3,0\r\n");
    make().Transfer(QStringLiteral("s"));
    EXPECT_EQ(requestLines(), (QList<QByteArray>{"s\r", " 1 \r", " 12 \r", " 600 \r", " 2 \r", "File \r"}));
    EXPECT_EQ(dir.read(QStringLiteral("File ")), QByteArray("the program file"));
    EXPECT_EQ(launcher.started, QStringList{QStringLiteral("cardio-test")});
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
}

// A write that cannot be prepared (the program file unreadable, its copy or the request not
// written) names the file, starts no tool and does not succeed.
TEST_F(DeviceTransferTest, AWriteThatCannotBePreparedStartsNoTool)
{
    toolResult("3,0\r\n");
    const struct {
        const char *blocked; // made a folder, or removed for the program file
        const char *named;
    } cases[] = {{"prog.zxp", "prog.zxp"}, {"File ", "File "}, {"zentrix.msg", "zentrix.msg"}};
    for (const auto &c : cases) {
        TempDir work;
        AppContext context{model, prompter, clock, pump, launcher, work.path(), work.path()};
        model.program().FileName = work.file(QStringLiteral("prog.zxp"));
        if (QLatin1String(c.blocked) != QLatin1String("prog.zxp"))
            work.write(QStringLiteral("prog.zxp"), "the program file");
        ASSERT_TRUE(QDir(work.path()).mkdir(QString::fromLatin1(c.blocked)) ||
                    QLatin1String(c.blocked) == QLatin1String("prog.zxp"));
        launcher.started.clear();
        prompter.shown.clear();
        DeviceTransfer t(context, port);
        t.setChipTool(QStringLiteral("cardio-test"));
        t.Transfer(QStringLiteral("s"));
        EXPECT_FALSE(t.succeeded()) << c.blocked;
        EXPECT_TRUE(launcher.started.isEmpty()) << c.blocked;
        ASSERT_FALSE(prompter.shown.empty()) << c.blocked;
        EXPECT_TRUE(prompter.last().contains(QString::fromLatin1(c.named))) << prompter.last().toStdString();
    }
}

TEST_F(DeviceTransferTest, LongDelayFollowsTheFactorOfTheModel)
{
    model.transfer.LongDelayFactor = 20;
    model.device.Sprache = French;
    model.catalogue.fillBuiltin(French, 1);
    toolResult("3,0");
    make().Transfer(QStringLiteral("l"));
    const auto lines = requestLines();
    EXPECT_EQ(lines[3], QByteArray(" 240 \r"));
    EXPECT_EQ(lines[4], QByteArray(" 3 \r"));
    EXPECT_EQ(lines[5], QByteArray("Fichier \r"));
    EXPECT_FALSE(dir.exists(QStringLiteral("Fichier "))); // reading copies nothing
}

TEST_F(DeviceTransferTest, SerialRequestNamesTheProgramFileAndCopiesNothing)
{
    model.transfer.PortSetting = 4;
    dir.write(QStringLiteral("prog.zxp"), QByteArray(" 0 ").repeated(2048));
    make().Transfer(QStringLiteral("s"));
    EXPECT_EQ(requestLines()[1], QByteArray(" 4 \r"));
    EXPECT_EQ(requestLines()[5], dir.file(QStringLiteral("prog.zxp")).toUtf8() + '\r');
    EXPECT_FALSE(dir.exists(QStringLiteral("File ")));
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_EQ(port.openedDevice, QStringLiteral("/dev/ttyS0"));
    EXPECT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
}

TEST_F(DeviceTransferTest, StaleResultFileIsDeletedBeforeTheToolStarts)
{
    dir.write(QStringLiteral("card.msg"), "1,0");
    bool staleSeen = true;
    launcher.tool = [&] { staleSeen = dir.exists(QStringLiteral("card.msg")); };
    make().Transfer(QStringLiteral("s"));
    EXPECT_FALSE(staleSeen);
    EXPECT_EQ(prompter.messages(), (QStringList{QStringLiteral("Access to zentrix finished"),
                                                QStringLiteral("Access to zentrix not successful")}));
}

TEST_F(DeviceTransferTest, CodesOutsideTheTableCountAsSuccess)
{
    toolResult("9\r\n0\r\n");
    make().Transfer(QStringLiteral("s"));
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
}

TEST_F(DeviceTransferTest, ResultFileReading)
{
    dir.write(QStringLiteral("a"), "6,112");
    dir.write(QStringLiteral("b"), " 4 \r\n 17 \r\n");
    dir.write(QStringLiteral("c"), "nonsense");
    EXPECT_EQ(DeviceTransfer::ReadResultFile(dir.file(QStringLiteral("a")))->address, 112);
    EXPECT_EQ(DeviceTransfer::ReadResultFile(dir.file(QStringLiteral("b")))->code, 4);
    EXPECT_EQ(DeviceTransfer::ReadResultFile(dir.file(QStringLiteral("b")))->address, 17);
    EXPECT_FALSE(DeviceTransfer::ReadResultFile(dir.file(QStringLiteral("c"))));
    EXPECT_FALSE(DeviceTransfer::ReadResultFile(dir.file(QStringLiteral("missing"))));
}

TEST_F(DeviceTransferTest, MemoryChipWordingForBrandFive)
{
    model.catalogue.fillBuiltin(English, 5);
    EXPECT_EQ(DeviceTransfer::ResultText(model, {2, 0}),
              QStringLiteral("No memory chip at the programing adapter or delay to low!"));
    EXPECT_EQ(DeviceTransfer::ResultText(model, {3, 0}), QString());
}

TEST_F(DeviceTransferTest, ToolThatCannotStartShowsTheSystemsTextOrWhatToInstall)
{
    // A tool that exists but cannot start: the system's text.
    dir.write(QStringLiteral("cardio-present"), QByteArray());
    const QString present = dir.path() + QStringLiteral("/cardio-present");
    launcher.startError = QStringLiteral("cardio-present: Permission denied");
    model.program().SzCount = 5;
    model.Modified = 0;
    DeviceTransfer t = make();
    t.setChipTool(present);
    t.ReadCommand(save);
    EXPECT_EQ(prompter.messages(), (QStringList{QStringLiteral("cardio-present: Permission denied"),
                                                QStringLiteral("Access to zentrix not successful")}));
    EXPECT_EQ(model.program().SzCount, 0);

    // No tool anywhere: the message names the tool and where the simulated one lives.
    launcher.startError = QStringLiteral("cardio-test: No such file or directory");
    make().ReadCommand(save);
    const QStringList shown = prompter.messages();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_TRUE(shown[2].contains(QStringLiteral("\"cardio-test\" was not found"))) << shown[2].toStdString();
    EXPECT_TRUE(shown[2].contains(QStringLiteral("/usr/libexec/zentrix")));
}

TEST_F(DeviceTransferTest, ReadLoadsTheImageAndMarksTheProgramModified)
{
    // A valid empty program image of the annual device, as the tool leaves it.
    QByteArray card;
    std::array<int, ImageSize> values{};
    values.fill(0);
    values[1] = 72;
    values[3] = 1;
    values[103] = 1;
    for (int i = 8; i < 100; ++i)
        values[i] = 255;
    int sum = 0;
    for (int v : values)
        sum += v;
    values[0] = (256 - sum % 256) % 256;
    for (int v : values)
        card += ' ' + QByteArray::number(v) + ' ';
    launcher.tool = [&] {
        dir.write(QStringLiteral("card.dat"), card);
        dir.write(QStringLiteral("card.msg"), "3,0");
    };
    model.program().ChannelNames[0] = QStringLiteral("Pump");
    model.FileNamed = 1; // a file was open before: the device's program is not that file
    DeviceTransfer transfer = make();
    transfer.ReadCommand(save);
    EXPECT_TRUE(transfer.succeeded());
    EXPECT_EQ(model.FileNamed, 0);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.CurrentSet, SetProgram);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("unknown"));
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("Swprg1.zxp")));
    // the device holds no channel names: the program open before keeps its labels to itself
    EXPECT_EQ(model.program().ChannelNames[0], QString());

    // A write afterwards reads nothing back into the program.
    model.program().UsageText = QStringLiteral("hall");
    model.Modified = 0;
    transfer.WriteCommand(save);
    EXPECT_TRUE(transfer.succeeded());
    EXPECT_EQ(model.program().UsageText, QStringLiteral("hall"));
}

TEST_F(DeviceTransferTest, ReadOfADamagedImageSaysIllegalFile)
{
    model.program().SzCount = 3;
    launcher.tool = [&] {
        dir.write(QStringLiteral("card.dat"), " 1 2 3 ");
        dir.write(QStringLiteral("card.msg"), "3,0");
    };
    make().ReadCommand(save);
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("Access to zentrix finished"), QStringLiteral("Illegal File !")}));
    EXPECT_EQ(prompter.shown[1].icon, Icon::Critical);
    EXPECT_EQ(model.program().SzCount, 0);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("unknown"));
}

// A read-back image that is missing or damaged is named as such, whether the read goes into
// the program or into a separate document.
TEST_F(DeviceTransferTest, AMissingOrDamagedReadBackImageIsNamedForEitherTarget)
{
    for (const bool intoDocument : {false, true}) {
        for (const bool damaged : {false, true}) {
            launcher.tool = [&] {
                QFile::remove(dir.file(QStringLiteral("card.dat")));
                if (damaged)
                    dir.write(QStringLiteral("card.dat"), " 1 2 3 ");
                dir.write(QStringLiteral("card.msg"), "3,0");
            };
            prompter.shown.clear();
            Model document;
            DeviceTransfer t = make();
            if (intoDocument)
                EXPECT_FALSE(t.ReadInto(document));
            else
                t.ReadCommand(save);
            ASSERT_FALSE(prompter.shown.empty());
            EXPECT_EQ(prompter.last(), model.catalogue(damaged ? Msg::IllegalFile : Msg::NoSuchFile))
                << intoDocument << damaged;
            EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
        }
    }
    // One that cannot be read at all (a folder in its place) ends the read as failed too.
    launcher.tool = [&] {
        QFile::remove(dir.file(QStringLiteral("card.dat")));
        QDir(dir.path()).mkdir(QStringLiteral("card.dat"));
        dir.write(QStringLiteral("card.msg"), "3,0");
    };
    DeviceTransfer t = make();
    t.ReadCommand(save);
    EXPECT_FALSE(t.succeeded());
    EXPECT_EQ(model.program().UsedCount, 0);
}

TEST_F(DeviceTransferTest, ReadAsksAboutUnsavedChangesFirst)
{
    model.Modified = 1;
    prompter.answers = {Answer::Cancel};
    DeviceTransfer cancelled = make();
    cancelled.ReadCommand(save);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Save changes in ") +
                                               dir.file(QStringLiteral("prog.zxp")) + QStringLiteral(" ?")});
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_FALSE(cancelled.succeeded());

    prompter.answers = {Answer::Yes};
    toolResult("3,0");
    make().ReadCommand(save);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(launcher.started.size(), 1);

    // No: read without saving
    model.Modified = 1;
    prompter.answers = {Answer::No};
    make().ReadCommand(save);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(launcher.started.size(), 2);
}

// Yes to the question with a save that fails (a full disk, a cancelled Save as): nothing is
// read, the program and its changes stay.
TEST_F(DeviceTransferTest, AFailedSaveBeforeAReadStopsTheRead)
{
    model.Modified = 1;
    model.appendRecord(SetProgram, weeklyTime(6, 30, 1, 1));
    const ProgramSet before = model.program();
    prompter.answers = {Answer::Yes};
    toolResult("3,0");
    DeviceTransfer t = make();
    t.ReadCommand([] { return false; });
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_FALSE(t.succeeded());
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.program().Records, before.Records);
    EXPECT_EQ(model.program().UsedCount, before.UsedCount);
    EXPECT_EQ(model.program().FileName, before.FileName);
}

// A read-back image that is no program of this device: an erased memory is told as such, and
// none of them leaves the program open before in memory as if it had been read.
TEST_F(DeviceTransferTest, AReadOfNoProgramOfThisDeviceSaysWhatItIsAndKeepsNothing)
{
    const MemoryImage program = BuildImage(model, clock.now());
    const struct {
        const char *what;
        int fill; // every byte, or -1: the image of a program with this device code
        int code;
        const char *message;
    } cases[] = {
        {"erased", 255, 0, "No program was read: the memory read is empty."},
        {"zeroed", 0, 0, "No program was read: the memory read is empty."},
        {"astro device", -1, DeviceCodeAstro, "File for ZX 401"},
        {"master card", -1, DeviceCodeAnnual | MasterCardBit, "Illegal File !"},
    };
    model.BrandNumber = 1;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryImage image = program;
        if (c.fill >= 0) {
            image.fill(std::uint8_t(c.fill));
        } else {
            image[1] = std::uint8_t(c.code);
            image[0] = std::uint8_t(program[0] + program[1] - c.code);
        }
        launcher.tool = [&] {
            dir.write(QStringLiteral("card.dat"), FormatProgramText(image, QString(), {}));
            dir.write(QStringLiteral("card.msg"), "3,0");
        };
        model.appendRecord(SetProgram, weeklyTime(6, 30, 1, 1));
        model.program().ChannelNames[0] = QStringLiteral("Pump");
        prompter.shown.clear();
        if (c.fill >= 0) {
            Model document;
            EXPECT_FALSE(make().ReadInto(document));
            EXPECT_EQ(prompter.last(), QString::fromUtf8(c.message));
        }
        DeviceTransfer t = make();
        t.ReadCommand(save);
        EXPECT_FALSE(t.succeeded());
        EXPECT_EQ(prompter.last(), QString::fromUtf8(c.message));
        EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
        EXPECT_EQ(model.program().UsedCount, 0);
        EXPECT_EQ(model.program().ChannelNames[0], QString());
    }
}

TEST_F(DeviceTransferTest, WriteOfAnUnsavedProgramSavesFirst)
{
    model.Modified = 1;
    prompter.answers = {Answer::Cancel};
    make().WriteCommand(save);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("You can only export saved datas. Save now?")});
    EXPECT_TRUE(launcher.started.isEmpty());

    prompter.answers = {Answer::Ok};
    toolResult("3,0");
    make().WriteCommand(save);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(launcher.started.size(), 1);
}

TEST_F(DeviceTransferTest, FailedSaveEndsTheWriteCommand)
{
    model.Modified = 1;
    prompter.answers = {Answer::Ok};
    make().WriteCommand([] { return false; });
    EXPECT_TRUE(launcher.started.isEmpty());
}

TEST_F(DeviceTransferTest, AstroDeviceWithoutAstroTimesAsks)
{
    model.device.Uhrentyp = TypeAstro;
    prompter.answers = {Answer::Cancel};
    make().WriteCommand(save);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("There are no Astrotimes! Really write zentrix ?")});
    EXPECT_TRUE(launcher.started.isEmpty());

    model.device.Uhrentyp = TypeAnnual;
    prompter.shown.clear();
    toolResult("3,0");
    make().WriteCommand(save);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Access to zentrix finished")});
}

TEST_F(DeviceTransferTest, EmptyProgramCancelledWritesNothing)
{
    model.program().UsedCount = 0;
    prompter.answers = {Answer::Cancel};
    DeviceTransfer t = make();
    t.WriteCommand(save);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("No data to save! Do you want to continue anyway  ?")});
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_FALSE(t.succeeded());
}

TEST_F(DeviceTransferTest, FailedSerialReadEmptiesTheListsAndLoadsNoOldImage)
{
    model.transfer.PortSetting = 5;
    model.program().SzCount = 4;
    model.program().PzCount = 1;
    model.program().DstCount = 2;
    dir.write(QStringLiteral("card.dat"), "an old image");
    port.responder = nullptr;
    int redraws = 0;
    DeviceTransfer t = make();
    t.setRedraw([&] { ++redraws; });
    t.ReadCommand(save);
    EXPECT_EQ(prompter.messages(),
              (QStringList{QStringLiteral("no answer from the programm interface at COM "),
                           QStringLiteral("Access to zentrix not successful")}));
    EXPECT_EQ(port.openedDevice, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(model.program().SzCount, 0);
    EXPECT_EQ(model.program().PzCount, 0);
    EXPECT_EQ(model.program().DstCount, 0);
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("prog.zxp")));
    EXPECT_EQ(redraws, 1);
}

// A write that fails leaves the program as it was: only a failed read empties the lists.
TEST_F(DeviceTransferTest, FailedSerialWriteKeepsTheProgram)
{
    model.transfer.PortSetting = 5;
    model.appendRecord(SetProgram, weeklyTime(6, 30, 1, 1));
    const int records = model.program().SzCount;
    dir.write(QStringLiteral("prog.zxp"), QByteArray(" 0 ").repeated(2048));
    port.responder = nullptr;
    DeviceTransfer t = make();
    t.Transfer(QStringLiteral("s"));
    EXPECT_FALSE(t.succeeded());
    EXPECT_EQ(prompter.last(), QStringLiteral("Access to zentrix not successful"));
    EXPECT_EQ(model.program().SzCount, records);
}

// The command line's serial transfer: a write ends in success without reading anything back; a
// read hands back the device's image, a master card's too, and refuses the image of another kind
// of device.
TEST_F(DeviceTransferTest, CommandLineSerialTransferHandsBackImagesOfThisDevice)
{
    const MemoryImage image = BuildImage(model, clock.now());
    const QString file = dir.file(QStringLiteral("sent.zxp"));
    dir.write(QStringLiteral("sent.zxp"), FormatProgramText(image, QStringLiteral("hall"), {}));
    const SerialTimings timings{500, 100, 0};
    // A working folder that cannot take the request: told, and nothing goes to the device.
    EXPECT_FALSE(RunSerialTransfer(model, prompter, pump, port, file, QStringLiteral("s"), file,
                                   QStringLiteral("ttyTest"), nullptr, timings));
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(port.requests.empty());
    prompter.shown.clear();
    ASSERT_TRUE(RunSerialTransfer(model, prompter, pump, port, dir.path(), QStringLiteral("s"), file,
                                  QStringLiteral("ttyTest"), nullptr, timings));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(device.memory, image);

    const struct {
        int deviceCode;
        bool handedBack;
    } reads[] = {
        {DeviceCodeAnnual, true}, {DeviceCodeAnnual | MasterCardBit, true}, {DeviceCodeAstro, false}};
    for (const auto &r : reads) {
        SCOPED_TRACE(r.deviceCode);
        device.memory = image;
        device.memory[1] = std::uint8_t(r.deviceCode);
        device.memory[0] = std::uint8_t(image[0] + image[1] - r.deviceCode); // the image's check sum
        prompter.shown.clear();
        QByteArray readBack;
        EXPECT_EQ(RunSerialTransfer(model, prompter, pump, port, dir.path(), QStringLiteral("l"), QString(),
                                    QStringLiteral("ttyTest"), nullptr, timings, &readBack),
                  r.handedBack);
        EXPECT_EQ(prompter.shown.empty(), r.handedBack) << prompter.last().toStdString();
        const auto values = ReadImageValues(readBack);
        ASSERT_EQ(values.has_value(), r.handedBack);
        if (values) {
            EXPECT_EQ((*values)[1], r.deviceCode);
        }
    }

    // A device that does not answer: the transfer fails and says so.
    port.responder = nullptr;
    prompter.shown.clear();
    EXPECT_FALSE(RunSerialTransfer(model, prompter, pump, port, dir.path(), QStringLiteral("s"), file,
                                   QStringLiteral("ttyTest"), nullptr, timings));
    EXPECT_EQ(prompter.last(), QStringLiteral("Access to zentrix not successful"));
}

TEST_F(DeviceTransferTest, VerifyAfterWriteReadsBackAndSaysWhatDiffers)
{
    model.program().UsedCount = 0;
    model.appendRecord(SetProgram, weeklyTime(6, 30, 31, 1));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    Model device = model;
    device.program().Records[0].b5 = 0; // OFF instead of ON
    device.program().FileName = dir.file(QStringLiteral("device.zxp"));
    ASSERT_TRUE(SaveProgram(device, prompter, clock));
    for (const bool same : {true, false}) {
        launcher.tool = [&] {
            if (dir.read(QStringLiteral("zentrix.msg")).startsWith('l'))
                dir.write(QStringLiteral("card.dat"),
                          dir.read(same ? QStringLiteral("prog.zxp") : QStringLiteral("device.zxp")));
            dir.write(QStringLiteral("card.msg"), "3,0");
        };
        prompter.shown.clear();
        DeviceTransfer t = make();
        t.setVerifyAfterWrite(true);
        t.WriteCommand(save);
        EXPECT_EQ(t.succeeded(), same);
        ASSERT_FALSE(prompter.shown.empty());
        if (same) {
            EXPECT_EQ(prompter.last(), QStringLiteral("written and verified"));
        } else {
            EXPECT_TRUE(prompter.last().startsWith(
                QStringLiteral("written, but the device reads back differently:")));
            EXPECT_TRUE(prompter.last().contains(QStringLiteral("| OFF |"))) << prompter.last().toStdString();
        }
        EXPECT_EQ(model.program().Records[0].b5, 1) << "the program in memory stays as it is";
        EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("prog.zxp")));
    }
    // A write whose reading back fails is no verified write.
    launcher.tool = [&] {
        QFile::remove(dir.file(QStringLiteral("card.dat")));
        dir.write(QStringLiteral("card.msg"), "3,0");
    };
    DeviceTransfer t = make();
    t.setVerifyAfterWrite(true);
    t.WriteCommand(save);
    EXPECT_FALSE(t.succeeded());
}

} // namespace
} // namespace zx::test
