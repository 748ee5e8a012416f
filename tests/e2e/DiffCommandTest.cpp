// zentrix-cli diff against a comparison of record sets worked out here, and the compare with a
// device (devsim on a pseudo-terminal) whose memory was changed behind the program's back.
#include "TransferFixtures.h"

#include "app/AppContext.h"
#include "app/ProgramComparison.h"
#include "platform/ComPortMap.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtSerialPort.h"
#include "support/CliRunner.h"
#include "support/RandomPrograms.h"
#include "support/TempDir.h"
#include "transfer/DeviceTransfer.h"
#include "views/ListFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>

using zx::test::RunCli;

namespace zx::test {
namespace {

// The rows (without their number) of the records of one list that `m` holds more often than
// `other`: what diff must report for that side, as a sorted multiset.
QStringList surplusRows(const Model &m, const Model &other, int list)
{
    std::map<std::tuple<int, int, int, int, int>, int> count;
    auto key = [](const ProgramRecord &r) { return std::make_tuple(r.b0, r.b1, r.b3, r.b4, r.b5); };
    for (int i : views::DisplayRecords(other, list, SetProgram))
        ++count[key(other.program().Records[i])];
    const ListTable table = views::BuildList(m, list, SetProgram);
    QStringList rows;
    for (const ListRow &row : table.rows) {
        int &left = count[key(m.program().Records[row.recordIndex])];
        if (left > 0) {
            --left;
            continue;
        }
        QStringList cells;
        for (const QString &c : row.cells.mid(1))
            cells << c.trimmed();
        rows << cells.join(QLatin1Char('|'));
    }
    rows.sort();
    return rows;
}

QStringList reportedRows(const QJsonObject &list, const char *side)
{
    QStringList rows;
    auto add = [&rows](const QJsonArray &cells) {
        QStringList texts;
        for (int i = 1; i < cells.size(); ++i)
            texts << cells[i].toString();
        rows << texts.join(QLatin1Char('|'));
    };
    for (const QJsonValue &r :
         list.value(QLatin1String(side == std::string("a") ? "onlyA" : "onlyB")).toArray())
        add(r.toArray());
    for (const QJsonValue &c : list.value(QStringLiteral("changed")).toArray())
        add(c.toObject().value(QLatin1String(side)).toArray());
    rows.sort();
    return rows;
}

TEST(DiffCommand, RandomProgramPairsReportExactlyTheirRecordDifferences)
{
    TempDir dir;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    std::mt19937 rng(427);
    for (int round = 0; round < 12; ++round) {
        Model a, b;
        a.device.Kanalzahl = b.device.Kanalzahl = 4;
        fillRandomProgram(a, rng, std::uniform_int_distribution<int>(0, 25)(rng));
        // B: A with some records dropped, changed and added, or a program of its own.
        b = a;
        if (round % 4 == 3) {
            fillRandomProgram(b, rng, 10);
        } else {
            for (int k = 0; k < 3 && b.program().UsedCount > 0; ++k)
                b.program()
                    .Records[std::uniform_int_distribution<int>(0, b.program().UsedCount - 1)(rng)]
                    .b4 ^= 8;
            if (b.program().UsedCount > 2)
                b.removeRecords(SetProgram, {0});
            b.appendRecord(SetProgram, randomRecord(rng));
        }
        const QString fa = dir.file(QStringLiteral("a%1.zxp").arg(round));
        const QString fb = dir.file(QStringLiteral("b%1.zxp").arg(round));
        a.program().FileName = fa;
        b.program().FileName = fb;
        ASSERT_TRUE(SaveProgram(a, prompter, clock));
        ASSERT_TRUE(SaveProgram(b, prompter, clock));

        const CliRun r = RunCli({QStringLiteral("diff"), fa, fb, QStringLiteral("--json")});
        ASSERT_EQ(r.exitCode, 1) << r.err.toStdString();
        const QJsonObject lists =
            QJsonDocument::fromJson(r.out).object().value(QStringLiteral("lists")).toObject();
        for (const auto &[list, name] :
             {std::pair{int(ListSwitching), "switching"}, std::pair{int(ListPriority), "priority"}}) {
            const QJsonObject l = lists.value(QLatin1String(name)).toObject();
            EXPECT_EQ(reportedRows(l, "a"), surplusRows(a, b, list)) << "round " << round << ' ' << name;
            EXPECT_EQ(reportedRows(l, "b"), surplusRows(b, a, list)) << "round " << round << ' ' << name;
        }
    }
}

TEST(DiffCommand, ExitStatusSaysSameDifferentOrTrouble)
{
    TempDir dir;
    const QString full = QStringLiteral(ZX_TEST_DATA "/full517.zxp");
    EXPECT_EQ(RunCli({QStringLiteral("diff"), full, full}).exitCode, 0);
    const CliRun same = RunCli({QStringLiteral("diff"), full, full, QStringLiteral("--json")});
    EXPECT_TRUE(QJsonDocument::fromJson(same.out).object().value(QStringLiteral("equal")).toBool());
    const CliRun other = RunCli({QStringLiteral("diff"), full, QStringLiteral(ZX_TEST_DATA "/full236.zxp"),
                                 QStringLiteral("--lang"), QStringLiteral("fr")});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.out.contains("type d'appareil: 517 -> 236")) << other.out.toStdString();
    const CliRun broken =
        RunCli({QStringLiteral("diff"), full, QStringLiteral(ZX_TEST_DATA "/broken-checksum.zxp")});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.err.contains("Illegal File !"));
    EXPECT_EQ(RunCli({QStringLiteral("diff"), full, dir.file(QStringLiteral("missing.zxp"))}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("diff"), full}).exitCode, 2);
}

class CompareWithDevice : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override { ZX_SKIP_WITHOUT_PSEUDO_TERMINAL(); }

    void useDevice(const QString &pty)
    {
        ASSERT_FALSE(pty.isEmpty()) << "devsim gave no pseudo-terminal";
        ComPortMap ports(dir.path());
        ports.setDevice(2, pty);
        ASSERT_TRUE(ports.save());
        model.transfer.PortSetting = 5;
    }
    DeviceTransfer transfer()
    {
        DeviceTransfer t(ctx, port);
        t.setSerialTimings(fast);
        return t;
    }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 2), QTime(8, 30))};
    SleepingEventPump pump;
    ProcessToolLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    QtSerialPort port;
    SerialTimings fast{500, 80, 0}; // a loaded machine may pause the simulator mid-answer
};

TEST_F(CompareWithDevice, AVerifiedWriteThenAMemoryChangedBehindTheProgramsBack)
{
    const QString memory = dir.file(QStringLiteral("device.img"));
    fillSampleProgram(model);
    model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    {
        DevSim sim({QStringLiteral("--memory"), memory});
        useDevice(sim.path());
        DeviceTransfer t = transfer();
        t.setVerifyAfterWrite(true);
        t.WriteCommand([] { return true; });
        EXPECT_TRUE(t.succeeded());
        ASSERT_EQ(prompter.messages(), QStringList{"written and verified"});
    }

    // Someone toggles channel 2 of the first record slot at the device: b4 is held with its
    // nibbles swapped, and the checksum in byte 0 keeps the sum of all bytes at 0.
    QFile f(memory);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray image = f.readAll();
    ASSERT_EQ(image.size(), ImageSize);
    const int delta = (static_cast<std::uint8_t>(image[108]) ^ 0x20) - static_cast<std::uint8_t>(image[108]);
    image[108] = static_cast<char>(static_cast<std::uint8_t>(image[108]) + delta);
    image[0] = static_cast<char>(static_cast<std::uint8_t>(image[0]) - delta);
    f.seek(0);
    f.write(image);
    f.close();

    DevSim sim({QStringLiteral("--memory"), memory});
    useDevice(sim.path());
    const ProgramSet before = model.program();
    Model device = model;
    ASSERT_TRUE(transfer().ReadInto(device)) << prompter.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(model.program().Records, before.Records) << "the program in memory stays";
    EXPECT_EQ(model.program().FileName, before.FileName);
    CompareOptions options;
    options.texts = false;
    const ProgramDifferences d = ComparePrograms(model, device, options);
    EXPECT_TRUE(d.settings.empty());
    int changed = 0, only = 0;
    for (const ListDifference &l : d.lists) {
        changed += static_cast<int>(l.changed.size());
        only += static_cast<int>(l.onlyA.size() + l.onlyB.size());
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(only, 0);
}

} // namespace
} // namespace zx::test
