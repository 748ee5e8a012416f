// zentrix-cli diff against a comparison of record sets worked out here.
#include "TransferFixtures.h"

#include "app/ProgramComparison.h"
#include "model/ChangeoverRules.h"
#include "support/CliRunner.h"
#include "support/RandomPrograms.h"
#include "support/TempDir.h"
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

    // One changeover entry, once or twice a year: the same bytes but other summer times.
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    for (const int perYear : {0, 1}) {
        Model m;
        m.device.SwRegel = RuleTable;
        m.program().DstCount = 1;
        m.program().DstFirstYear = 30 + 64 * perYear;
        m.program().DstTable[0] = {3, 31, 10, 31};
        m.program().FileName = dir.file(QStringLiteral("t%1.zxp").arg(perYear));
        ASSERT_TRUE(SaveProgram(m, prompter, clock));
    }
    const CliRun table = RunCli(
        {QStringLiteral("diff"), dir.file(QStringLiteral("t0.zxp")), dir.file(QStringLiteral("t1.zxp"))});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_TRUE(table.out.contains("changeovers per year: 1 -> 2")) << table.out.toStdString();
    EXPECT_EQ(RunCli({QStringLiteral("diff"), full}).exitCode, 2);
}

} // namespace
} // namespace zx::test
