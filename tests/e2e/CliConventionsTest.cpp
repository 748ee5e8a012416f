// zentrix-cli as scripts use it: options, outputs, errors, locking and round trips, one table
// per convention, every case through the one CLI runner.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zx::test {
namespace {

QString data(const char *name)
{
    return QStringLiteral(ZX_TEST_DATA "/") + QLatin1String(name);
}

QString sourceFile(const char *name)
{
    return QStringLiteral(ZX_SOURCE_DIR "/") + QLatin1String(name);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CliConventions : public ::testing::Test {
  public:
    TempDir dir;
    // A copy of a fixture to change.
    QString copy(const char *fixture, const QString &name)
    {
        QFile::copy(data(fixture), dir.file(name));
        QFile::setPermissions(dir.file(name), QFile::ReadOwner | QFile::WriteOwner);
        return dir.file(name);
    }
};

// ----- options: one parser for every command -------------------------------------------------

struct OptionCase {
    QStringList args;
    int exitCode;
    const char *err; // a line standard error must hold; empty: standard error stays empty
};

TEST_F(CliConventions, OptionsParseAlikeAndABadOneNamesItself)
{
    const QString four = copy("full517.zxp", QStringLiteral("four.zxp")); // four channels
    const QByteArray beyondCount = ("zentrix-cli: " + four + ": nr. of channels: 1 up to 4").toUtf8();
    const QByteArray beyondCountDe = ("zentrix-cli: " + four + ": Anzahl Kanäle: 1 bis 4").toUtf8();
    const std::vector<OptionCase> cases = {
        {{"dump", data("full236.zxp"), "--type=236"}, 0, ""},
        {{"dump", "--type", "236", "--", data("full236.zxp")}, 0, ""},
        {{"dump", data("full517.zxp"), "--tpye", "517"}, 2, "zentrix-cli: --tpye: unknown option"},
        {{"dump", data("full517.zxp"), "--type"}, 2, "zentrix-cli: --type: a value is required"},
        {{"dump", data("full517.zxp"), "--type", "999"},
         2,
         "zentrix-cli: --type 999: one of 517, 236 is required"},
        {{"new", dir.file("n.zxp"), "--type", "517", "--channels", "9"},
         2,
         "zentrix-cli: --channels 9: outside 1..8"},
        // a channel the device lacks is the entry rules' refusal, worded as the dialogs word it
        {{"add", four, "switching", "--time", "06:30", "--days", "mo", "--channels", "6"},
         1,
         beyondCount.constData()},
        {{"add", four, "switching", "--time", "06:30", "--days", "mo", "--channels", "6", "--lang", "de"},
         1,
         beyondCountDe.constData()},
        {{"list", data("full517.zxp"), "--view", "week"}, 2, "zentrix-cli: --view week: one of switching"},
        {{"summertime", "--rule", "1", "--year", "1999", "--rule", "2"},
         2,
         "zentrix-cli: --rule: given twice"},
    };
    for (const OptionCase &c : cases) {
        const CliRun r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(c.args.join(u' ')) << "\n" << r.err.constData();
        if (*c.err)
            EXPECT_TRUE(r.err.startsWith(QByteArray(c.err))) << qPrintable(c.args.join(u' ')) << "\n"
                                                             << r.err.constData();
        else
            EXPECT_TRUE(r.err.isEmpty()) << qPrintable(c.args.join(u' ')) << "\n" << r.err.constData();
        if (c.exitCode != 0) {
            EXPECT_TRUE(r.out.isEmpty()) << qPrintable(c.args.join(u' '));
        }
    }
}

// ----- outputs: only regular files, never one that is not ours to replace --------------------

struct Writer {
    const char *name;
    // the arguments that write `out`
    std::function<QStringList(CliConventions &, const QString &out)> args;
};

QByteArray MinimalJson()
{
    return R"({"deviceType": 517, "records": [{"bytes": [152, 96, 0, 31, 1, 1]}]})";
}

TEST_F(CliConventions, EveryWriterRefusesFifosReadOnlyFilesAndDeviceNodesAndFollowsLinks)
{
    dir.write(QStringLiteral("in.json"), MinimalJson());
    const std::vector<Writer> writers = {
        {"build",
         [](CliConventions &t, const QString &out) {
             return QStringList{"build", t.dir.file("in.json"), out, "--force"};
         }},
        {"new",
         [](CliConventions &, const QString &out) {
             return QStringList{"new", out, "--type", "517", "--force"};
         }},
        {"export",
         [](CliConventions &, const QString &out) {
             return QStringList{"export", data("full517.zxp"), "--out", out, "--force"};
         }},
        {"export --append",
         [](CliConventions &, const QString &out) {
             return QStringList{"export", data("full517.zxp"), "--out", out, "--append"};
         }},
        {"add",
         [](CliConventions &, const QString &out) {
             return QStringList{"add",    out,  "switching",  "--time", "06:30",
                                "--days", "mo", "--channels", "1"};
         }},
    };
    const bool root = ::geteuid() == 0;
    for (const Writer &w : writers) {
        // a FIFO: refused at once, nothing waits for a reader
        const QString fifo = dir.file(QStringLiteral("fifo"));
        QFile::remove(fifo);
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        CliRun r = RunCli(w.args(*this, fifo));
        EXPECT_EQ(r.exitCode, 1) << w.name << " fifo: " << r.err.constData();
        struct stat st {};
        ::lstat(QFile::encodeName(fifo).constData(), &st);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << w.name;

        // a read-only program file stays as it is
        const QString ro = copy("small517-lf-cp1252.zxp", QStringLiteral("ro.zxp"));
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadGroup);
        const QByteArray before = readFile(ro);
        r = RunCli(w.args(*this, ro));
        EXPECT_EQ(r.exitCode, 1) << w.name << " read-only: " << r.err.constData();
        EXPECT_EQ(readFile(ro), before) << w.name;
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(ro);

        // a symbolic link: the target gets the content, the link stays
        const QString target = copy("small517-lf-cp1252.zxp", QStringLiteral("target.zxp"));
        const QString link = dir.file(QStringLiteral("link.zxp"));
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(target, link));
        r = RunCli(w.args(*this, link));
        EXPECT_EQ(r.exitCode, 0) << w.name << " link: " << r.err.constData();
        EXPECT_TRUE(QFileInfo(link).isSymLink()) << w.name;
        EXPECT_NE(readFile(target), readFile(data("small517-lf-cp1252.zxp"))) << w.name;
        QFile::remove(link);
        QFile::remove(target);

        // a device node of our own (the null device's numbers), where we may make one
        if (root) {
            const QString node = dir.file(QStringLiteral("node"));
            QFile::remove(node);
            ASSERT_EQ(::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
            r = RunCli(w.args(*this, node));
            EXPECT_EQ(r.exitCode, 1) << w.name << " node: " << r.err.constData();
            ::lstat(QFile::encodeName(node).constData(), &st);
            EXPECT_TRUE(S_ISCHR(st.st_mode)) << w.name;
        }
    }
}

TEST_F(CliConventions, ReplacingAFileKeepsItsModeAndCreatingOneNeedsForce)
{
    const QString out = copy("small517-lf-cp1252.zxp", QStringLiteral("kept.zxp"));
    QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    CliRun r = RunCli({"add", out, "switching", "--time", "07:00", "--days", "tu", "--channels", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(out).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    for (const QStringList &args : {QStringList{"new", out, "--type", "517"},
                                    QStringList{"export", data("full517.zxp"), "--out", out}}) {
        const QByteArray before = readFile(out);
        r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(u' '));
        EXPECT_TRUE(r.err.contains("--force")) << r.err.constData();
        EXPECT_EQ(readFile(out), before);
    }
}

// ----- standard input and output --------------------------------------------------------------

TEST_F(CliConventions, AFailedWriteOfResultsExitsOne)
{
    CliOptions toFull;
    toFull.outputFile = QStringLiteral("/dev/full"); // standard output only, never a file argument
    for (const QStringList &args :
         {QStringList{"dump", data("full517.zxp")}, QStringList{"list", data("full517.zxp")},
          QStringList{"simulate", data("full517.zxp"), "--year", "2026"},
          QStringList{"check", data("full517.zxp")}, QStringList{"help"},
          QStringList{"easter", "2026", "--json"}}) {
        const CliRun r = RunCli(args, toFull);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(u' '));
        EXPECT_TRUE(r.err.startsWith("zentrix-cli: standard output: ")) << r.err.constData();
    }
}

TEST_F(CliConventions, DashIsStandardInputAndOutput)
{
    CliOptions piped;
    piped.input = readFile(data("full517.zxp"));
    const CliRun json = RunCli({"dump", "-", "--json"}, piped);
    ASSERT_EQ(json.exitCode, 0) << json.err.constData();
    piped.input = json.out;
    const CliRun built = RunCli({"build", "-", "-"}, piped);
    ASSERT_EQ(built.exitCode, 0) << built.err.constData();
    piped.input = built.out;
    const CliRun checked = RunCli({"dump", "-"}, piped);
    EXPECT_EQ(checked.exitCode, 0) << checked.err.constData();
    EXPECT_TRUE(checked.out.contains("Records: 324"));
    const CliRun text = RunCli({"export", data("full517.zxp"), "--out", "-", "--lists", "priority"});
    EXPECT_EQ(text.exitCode, 0) << text.err.constData();
    EXPECT_FALSE(text.out.isEmpty());
}

// ----- round trips: what loads, build writes back ---------------------------------------------

TEST_F(CliConventions, EveryLoadableTestFileSurvivesDumpAndBuild)
{
    CliOptions fixed;
    fixed.environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
    const QStringList files =
        QDir(QStringLiteral(ZX_TEST_DATA)).entryList({QStringLiteral("*.zxp")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    int loadable = 0;
    for (const QString &name : files) {
        const QString path = QStringLiteral(ZX_TEST_DATA "/") + name;
        const CliRun dump = RunCli({"dump", path, "--json"});
        if (dump.exitCode != 0)
            continue; // not loadable: nothing to round-trip
        ++loadable;
        fixed.input = dump.out;
        const CliRun built = RunCli({"build", "-", "-"}, fixed);
        ASSERT_EQ(built.exitCode, 0) << qPrintable(name) << ": " << built.err.constData();
        fixed.input = built.out;
        const CliRun again = RunCli({"dump", "-", "--json"}, fixed);
        ASSERT_EQ(again.exitCode, 0) << qPrintable(name) << ": " << again.err.constData();
        QJsonObject a = QJsonDocument::fromJson(dump.out).object();
        QJsonObject b = QJsonDocument::fromJson(again.out).object();
        if (!a.contains(u"image")) {
            a.remove(u"header"); // the moment of saving
            b.remove(u"header");
        }
        EXPECT_EQ(a, b) << qPrintable(name);
        // reproducible: the same document gives the same bytes
        fixed.input = dump.out;
        EXPECT_EQ(RunCli({"build", "-", "-"}, fixed).out, built.out) << qPrintable(name);
    }
    EXPECT_GE(loadable, 4) << "the master card, both full programs and the small one load";
}

// ----- no lost updates ---------------------------------------------------------------------------

TEST_F(CliConventions, ParallelAddsOnOneFileKeepEveryEntry)
{
    const QString file = dir.file(QStringLiteral("shared.zxp"));
    ASSERT_EQ(RunCli({"new", file, "--type", "517", "--channels", "4"}).exitCode, 0);
    constexpr int Calls = 40;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < Calls; ++i)
        running.push_back(
            StartCli({"add", file, "switching", "--time",
                      QStringLiteral("%1:%2").arg(i / 60 + 1).arg(i % 60, 2, 10, QLatin1Char('0')), "--days",
                      "mo", "--channels", "1"}));
    int ok = 0;
    for (auto &p : running)
        ok += FinishCli(std::move(p), 120000).exitCode == 0 ? 1 : 0;
    const CliRun check = RunCli({"check", "--json", file});
    const QJsonArray result = QJsonDocument::fromJson(check.out).array();
    ASSERT_EQ(result.size(), 1);
    EXPECT_EQ(result[0][u"records"].toInt(), ok) << "every add that said so kept its entry";
    EXPECT_EQ(ok, Calls);
}

// ----- machine-readable output and the man page --------------------------------------------------

TEST_F(CliConventions, JsonOutputsParse)
{
    for (const QStringList &args :
         {QStringList{"list", data("full517.zxp"), "--json"},
          QStringList{"check", data("full517.zxp"), "--json"},
          QStringList{"simulate", data("full517.zxp"), "--year", "2026", "--json"},
          QStringList{"easter", "2026", "2027", "--json"},
          QStringList{"summertime", "--rule", "1", "--year", "2026", "--json"},
          QStringList{"holidays", "--year", "2026", "--workdir", QStringLiteral(ZX_SOURCE_DATA), "--json"}}) {
        const CliRun r = RunCli(args);
        ASSERT_EQ(r.exitCode, 0) << qPrintable(args.join(u' ')) << r.err.constData();
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        EXPECT_FALSE(doc.isNull()) << qPrintable(args.join(u' ')) << qPrintable(error.errorString());
        EXPECT_FALSE(doc.array().isEmpty()) << qPrintable(args.join(u' '));
    }
}

TEST_F(CliConventions, ManPageAndCompletionAreTheOnesTheTableMakes)
{
    const CliRun man = RunCli({"help", "--man"});
    ASSERT_EQ(man.exitCode, 0);
    EXPECT_EQ(man.out, readFile(sourceFile("packaging/zentrix-cli.1")))
        << "regenerate with: zentrix-cli help --man > packaging/zentrix-cli.1";
    const CliRun completion = RunCli({"help", "--completion"});
    ASSERT_EQ(completion.exitCode, 0);
    EXPECT_EQ(completion.out, readFile(sourceFile("packaging/zentrix-cli.bash-completion")))
        << "regenerate with: zentrix-cli help --completion > packaging/zentrix-cli.bash-completion";
    // every command's --help lists every option the man page gives it
    for (const char *command : {"add", "bus", "export", "astro-change"}) {
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.contains("--lang en|de|fr")) << command;
    }
}

// ----- faults mended ---------------------------------------------------------------------------------

TEST_F(CliConventions, NegativeShiftsGoBack)
{
    const QString file = copy("full236.zxp", QStringLiteral("astro.zxp"));
    const CliRun dump = RunCli({"dump", file, "--json"});
    const QJsonArray table = QJsonDocument::fromJson(dump.out)[u"astro"][u"table"].toArray();
    const int before = table[9].toArray()[0].toInt();
    ASSERT_NE(before, 1791);
    ASSERT_EQ(
        RunCli({"astro-change", file, "--column", "sunset", "--days", "10", "--shift", "-1:30"}).exitCode, 0);
    const QJsonArray after =
        QJsonDocument::fromJson(RunCli({"dump", file, "--json"}).out)[u"astro"][u"table"].toArray();
    EXPECT_EQ(after[9].toArray()[0].toInt(), (before - 90 + 1440) % 1440);
}

TEST_F(CliConventions, ATableEntryThatIsNoDateIsNamedSo)
{
    // advance on "day 0" of March, set-back on 31 April, 1999
    dir.write(QStringLiteral("t.json"), R"({"deviceType": 517, "device": {"changeoverRule": 4},
        "changeover": {"firstYear": 3, "entries": [[32, 3, 51, 244]]}, "records": []})");
    ASSERT_EQ(RunCli({"build", dir.file("t.json"), dir.file("t.zxp")}).exitCode, 0);
    const CliRun r = RunCli({"summertime", "--rule", "4", "--table", dir.file("t.zxp"), "--year", "1999"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_FALSE(r.out.contains("1999-04-31") || r.out.contains("1999-03-00")) << r.out.constData();
    EXPECT_TRUE(r.out.contains("advance not a date (day 0, month 3)")) << r.out.constData();
    EXPECT_TRUE(r.out.contains("set-back not a date (day 31, month 4)")) << r.out.constData();
    const CliRun list = RunCli({"list", dir.file("t.zxp"), "--view", "changeover"});
    EXPECT_TRUE(list.out.contains("not a date (day 0, month 3)")) << list.out.constData();
}

TEST_F(CliConventions, OneMessageOnceAndNothingElseOnStandardError)
{
    QDir(dir.path()).mkdir(QStringLiteral("folder.zxp"));
    CliRun r = RunCli({"dump", dir.file("folder.zxp")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_TRUE(r.err.startsWith("zentrix-cli: " + QFile::encodeName(dir.file("folder.zxp")) + ": "));

    CliOptions noRuntimeDir;
    noRuntimeDir.environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    noRuntimeDir.environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    r = RunCli({"export", data("full517.zxp"), "--out", dir.file("o.pdf")}, noRuntimeDir);
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();

    // an export that prints nothing leaves the file it would have replaced
    dir.write(QStringLiteral("keep.txt"), "kept");
    r = RunCli({"export", data("full517.zxp"), "--lists", "astro", "--out", dir.file("keep.txt"), "--force"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(dir.read(QStringLiteral("keep.txt")), "kept");
    r = RunCli({"export", data("full517.zxp"), "--out", data("full517.zxp"), "--force"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("is the program file itself")) << r.err.constData();
}

TEST_F(CliConventions, WorkingDirectoryComesFromOptionEnvironmentOrDefaults)
{
    CliOptions env;
    env.environment.insert(QStringLiteral("ZENTRIX_WORKDIR"), QStringLiteral(ZX_SOURCE_DATA));
    env.workingDirectory = dir.path();
    const CliRun fromEnvironment = RunCli({"holidays", "--year", "2026"}, env);
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err.constData();
    EXPECT_FALSE(fromEnvironment.out.isEmpty());
    // without zentrix.ini: the defaults a start would use
    const CliRun config = RunCli({"config", "--workdir", dir.path(), "--quiet"});
    EXPECT_EQ(config.exitCode, 0);
    EXPECT_EQ(config.out.count('\n'), 18) << config.out.constData();
    EXPECT_TRUE(config.err.isEmpty());
}

// ----- usage errors, languages and options before the command --------------------------------

struct UsageCase {
    QStringList args;
    int exitCode;
    const char *err; // the first line of standard error
};

TEST_F(CliConventions, EveryRefusalSaysWhatIsWrongInTheLanguageGivenAnywhere)
{
    const QString plan = copy("full517.zxp", QStringLiteral("plan.zxp"));
    const QString astro = copy("full236.zxp", QStringLiteral("astro.zxp"));
    dir.write(QStringLiteral("bad.json"), "{ nope");
    const std::vector<UsageCase> cases = {
        {{"list", plan, "b.zxp"}, 2, "zentrix-cli: b.zxp: unexpected argument"},
        {{"list", plan, "b.zxp", "--lang", "fr"}, 2, "zentrix-cli: b.zxp: argument inattendu"},
        {{"list"}, 2, "zentrix-cli: FILE.zxp is missing"},
        {{"diff", plan, "--lang=de"}, 2, "zentrix-cli: B.zxp fehlt"},
        {{"read", dir.file("o.zxp")}, 2, "zentrix-cli: --port is missing"},
        {{"write", "-", "--port", dir.file("tty")}, 2, "zentrix-cli: -: a program file is required here"},
        {{"remove", plan}, 2, "zentrix-cli: one of --row, --time, --from, --easter is required"},
        {{"astro-change", astro, "--column", "sunset", "--days", "1", "--delete", "--set", "06:00"},
         2,
         "zentrix-cli: --delete and --set exclude each other"},
        {{"summertime", "--rule", "1"}, 2, "zentrix-cli: --year is missing"},
        {{"bus", "search", "--port", dir.file("tty")}, 2, "zentrix-cli: --area is missing"},
        {{"simulate", plan, "--date", "2026-01-01"}, 2, "zentrix-cli: --channel is missing"},
        {{"help", "--man", "--completion"}, 2, "zentrix-cli: --man and --completion exclude each other"},
        {{"change", plan, "switching", "--time", "07:00"}, 2, "zentrix-cli: --row is missing"},
        {{"change", plan, "holiday", "--row", "1"}, 2, "zentrix-cli: holiday: one of switching, priority is"},
        {{"new", dir.file("n.zxp")}, 2, "zentrix-cli: --type is missing"},
        {{"--lang", "de", "lsit"}, 2, "zentrix-cli: lsit: unbekannter Befehl"},
        {{"lsit", "--lang", "fr"}, 2, "zentrix-cli: lsit: commande inconnue"},
        {{"--bogus", "list", plan}, 2, "zentrix-cli: --bogus: unknown option"},
        {{"build", dir.file("bad.json"), dir.file("o.zxp"), "--lang", "de"}, 1, "zentrix-cli: "},
        {{"list", plan, "--view", "astro"}, 1, "zentrix-cli: "},
        {{"--lang", "de", "astro-change", astro, "--column", "sunset", "--days", "1-2", "--delete"},
         0,
         "2 Tag(e) geändert"},
        {{"--lang", "fr", "config", "--workdir", dir.path()}, 0, ""},
    };
    for (const UsageCase &c : cases) {
        const CliRun r = RunCli(c.args);
        const QByteArray first = r.err.left(r.err.indexOf('\n'));
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(c.args.join(u' ')) << "\n" << r.err.constData();
        EXPECT_TRUE(first.startsWith(c.err)) << qPrintable(c.args.join(u' ')) << "\n" << r.err.constData();
        if (c.exitCode == 2) {
            EXPECT_TRUE(r.out.isEmpty()) << qPrintable(c.args.join(u' '));
        }
    }
    // the texts that were English whatever --lang said
    EXPECT_TRUE(
        RunCli({"build", dir.file("bad.json"), dir.file("o.zxp"), "--lang", "de"}).err.contains("kein JSON"));
    EXPECT_TRUE(RunCli({"config", "--workdir", dir.path(), "--lang", "fr"}).err.contains("n'existe pas"));
    const CliRun noAstro = RunCli({"list", plan, "--view", "astro"});
    EXPECT_TRUE(noAstro.err.contains("no astro list")) << noAstro.err.constData();
    EXPECT_TRUE(noAstro.out.isEmpty());
}

TEST_F(CliConventions, OptionsBeforeTheCommandActAsAfterIt)
{
    const CliRun after = RunCli({"list", data("full517.zxp"), "--view", "priority", "--lang", "de"});
    const CliRun before = RunCli({"--lang", "de", "list", data("full517.zxp"), "--view", "priority"});
    const CliRun joined = RunCli({"--lang=de", "--quiet", "list", data("full517.zxp"), "--view=priority"});
    ASSERT_EQ(after.exitCode, 0) << after.err.constData();
    EXPECT_EQ(before.exitCode, 0) << before.err.constData();
    EXPECT_EQ(before.out, after.out);
    EXPECT_EQ(joined.out, after.out);
    // --workdir before any command names the working directory, the command's own still wins
    CliOptions elsewhere;
    elsewhere.environment.remove(QStringLiteral("ZENTRIX_WORKDIR"));
    const CliRun holidays =
        RunCli({"--workdir", QStringLiteral(ZX_SOURCE_DATA), "holidays", "--year", "2026"}, elsewhere);
    EXPECT_EQ(holidays.exitCode, 0) << holidays.err.constData();
    EXPECT_FALSE(holidays.out.isEmpty());
    const CliRun config =
        RunCli({"--workdir=" + QStringLiteral(ZX_SOURCE_DATA), "config", "--workdir", dir.path()});
    EXPECT_EQ(config.exitCode, 0);
    EXPECT_TRUE(config.err.contains(QFile::encodeName(dir.path()))) << config.err.constData();
}

TEST_F(CliConventions, DashReadsTheProgramFromStandardInputForCheckAndDiff)
{
    CliOptions piped;
    piped.input = readFile(data("full517.zxp"));
    const CliRun check = RunCli({"check", "-"}, piped);
    EXPECT_EQ(check.exitCode, 0) << check.err.constData();
    EXPECT_TRUE(check.out.startsWith("-: valid, device type 517")) << check.out.constData();
    const CliRun same = RunCli({"diff", "-", data("full517.zxp")}, piped);
    EXPECT_EQ(same.exitCode, 0) << same.err.constData();
    const CliRun differs = RunCli({"diff", data("full236.zxp"), "-"}, piped);
    EXPECT_EQ(differs.exitCode, 1) << differs.err.constData();
    EXPECT_EQ(RunCli({"diff", "-", "-"}, piped).exitCode, 2);
    piped.input = readFile(data("broken-truncated.zxp"));
    const CliRun broken = RunCli({"check", "-", "--json"}, piped);
    EXPECT_EQ(broken.exitCode, 1);
    const QJsonObject entry = QJsonDocument::fromJson(broken.out).array().at(0).toObject();
    EXPECT_TRUE(entry.value(u"reason").toString().contains(u"The file ends at line"))
        << broken.out.constData();
    EXPECT_GT(entry.value(u"line").toInt(), 1);
}

TEST_F(CliConventions, CheckNamesWhatTheLoaderFound)
{
    const struct {
        const char *file;
        const char *reason;
    } cases[] = {
        {"broken-checksum.zxp",
         "Illegal File ! The checksum does not match: the values add up to 1 instead of 0"},
        {"broken-truncated.zxp", "Illegal File ! The file ends at line "},
        {"broken-value256.zxp", "Illegal File ! Line 1 holds the value 256, out of range 0..255."},
        // the fixture is written one value a line: slot 8's link is image byte 154
        {"broken-loop.zxp",
         "Illegal File ! The record chain runs in a loop: more than 324 records, back again at line 155."},
    };
    for (const auto &c : cases) {
        const CliRun r = RunCli({"check", data(c.file)});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.contains(c.reason)) << r.out.constData();
    }
    const CliRun de = RunCli({"check", data("broken-value256.zxp"), "--lang", "de"});
    EXPECT_TRUE(de.out.contains("Zeile 1 enthält den Wert 256")) << de.out.constData();
    const CliRun dump = RunCli({"dump", data("broken-checksum.zxp")});
    EXPECT_TRUE(dump.err.contains("The checksum does not match")) << dump.err.constData();
}

// Writing into a pipe whose reader is gone ends the command by SIGPIPE without a word, as other
// tools do; the pipe is closed before the command starts, so the signal is certain.
TEST_F(CliConventions, AClosedPipeEndsTheCommandQuietly)
{
    CliOptions python;
    python.program = QStringLiteral("/usr/bin/python3");
    const CliRun r =
        RunCli({"-c",
                "import os, subprocess, sys\n"
                "r, w = os.pipe(); os.close(r)\n"
                "p = subprocess.run(sys.argv[1:], stdout=w, stderr=subprocess.PIPE, timeout=30)\n"
                "print(p.returncode); sys.stdout.write(p.stderr.decode())",
                QStringLiteral(ZX_CLI), "dump", data("full517.zxp")},
               python);
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "-13\n"); // killed by SIGPIPE: the shell's 141
}

// The completion sourced into bash with the words of a command line, as bash hands them over
// (it splits "--view=" at the "=").
TEST_F(CliConventions, CompletionOffersWhatFitsTheWordAndNoPlaceholders)
{
    const QString script = dir.file(QStringLiteral("completion.sh"));
    dir.write(QStringLiteral("completion.sh"), RunCli({"help", "--completion"}).out);
    dir.write(QStringLiteral("plan.zxp"), "");
    const QString commands = QStringLiteral("list dump build check new add change remove astro astro-change "
                                            "export simulate easter summertime holidays write read diff bus "
                                            "config catalogue help --version");
    const struct {
        QStringList words; // the last one is completed
        QString offered;
    } cases[] = {
        {{""}, commands},
        {{"--lang", "de", ""}, commands},
        {{"help", ""}, commands},
        {{"add", "plan.zxp", ""}, "switching priority holiday"},
        {{"change", "plan.zxp", ""}, "switching priority"},
        {{"add", "plan.zxp", "--replace", "p"}, "priority"},
        {{"bus", ""}, "search program read reinstall"},
        {{"list", "--view", "=", ""}, "switching priority changeover astro"},
        {{"list", "--view", "=", "ch"}, "changeover"},
        {{"--lang=fr", "list", "--view", ""}, "switching priority changeover astro"},
        {{"add", "plan.zxp", "switching", "--days", ""}, "mo tu we th fr sa su daily"},
        {{"add", "plan.zxp", "holiday", "--set", ""}, "all"},
        {{"add", "plan.zxp", "priority", "--priority", "p"}, "permanent"},
        {{"add", "plan.zxp", "switching", "--time", ""}, ""},
        {{"add", "plan.zxp", "switching", "--channels", ""}, ""},
        {{"add", "plan.zxp", "--time", "06:00", ""}, "switching priority holiday"},
        {{"summertime", "--rule", ""}, "0 1 2 3 4"},
        {{"diff", "pl"}, "plan.zxp"},
        {{"list", "--fo"}, "--format"},
    };
    for (const auto &c : cases) {
        QStringList words = QStringList{"zentrix-cli"} + c.words;
        for (QString &w : words)
            w = u'\'' + w + u'\'';
        CliOptions bash;
        bash.program = QStringLiteral("/bin/bash");
        bash.workingDirectory = dir.path();
        const CliRun r =
            RunCli({"-c", QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; _zentrix_cli; "
                                         "echo \"${COMPREPLY[*]}\"")
                              .arg(script, words.join(u' '))
                              .arg(words.size() - 1)},
                   bash);
        EXPECT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(QString::fromUtf8(r.out).trimmed(), c.offered) << qPrintable(c.words.join(u' '));
    }
}

} // namespace
} // namespace zx::test
