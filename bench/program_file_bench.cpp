// Load and save of full program files: a 324-record annual device file and a 120-record astro
// device file with its astro table. The file variants include the disk; the text variants
// measure parsing, decoding, sorting and image building alone.
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace zx;

namespace {

class SilentPrompter final : public Prompter {
  public:
    void tell(const QString &, Icon, const QString &) override {}
    Answer ask(const QString &, Buttons, Icon, const QString &) override { return Answer::Ok; }
    std::optional<QString> askText(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void beep() override {}

  protected:
    void beginBusy() override {}
    void endBusy() override {}
};

QString fixture(int type)
{
    return QStringLiteral(ZX_TEST_DATA) +
           (type == TypeAstro ? QStringLiteral("/full236.zxp") : QStringLiteral("/full517.zxp"));
}

Model freshModel(int type)
{
    Model m;
    m.device.Uhrentyp = type;
    m.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    m.device.DeviceCode = type == TypeAstro ? 80 : 72;
    return m;
}

void loadFile(benchmark::State &state, int type)
{
    SilentPrompter prompter;
    const Model base = freshModel(type);
    for (auto _ : state) {
        Model m = base;
        const LoadResult r = LoadProgram(m, prompter, fixture(type), false, SetProgram);
        if (r != LoadResult::Loaded)
            state.SkipWithError("fixture does not load");
        benchmark::DoNotOptimize(m.program().UsedCount);
    }
}

void loadText(benchmark::State &state, int type)
{
    QFile f(fixture(type));
    if (!f.open(QIODevice::ReadOnly)) {
        state.SkipWithError("fixture missing");
        return;
    }
    const QByteArray text = f.readAll();
    const Model base = freshModel(type);
    for (auto _ : state) {
        Model m = base;
        benchmark::DoNotOptimize(LoadProgramText(m, text, false, SetProgram));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void saveFile(benchmark::State &state, int type)
{
    SilentPrompter prompter;
    FixedClock clock(QDateTime(QDate(2024, 3, 15), QTime(13, 47)));
    Model m = freshModel(type);
    if (LoadProgram(m, prompter, fixture(type), false, SetProgram) != LoadResult::Loaded) {
        state.SkipWithError("fixture does not load");
        return;
    }
    QTemporaryDir dir;
    m.program().FileName = dir.filePath(QStringLiteral("bench.zxp"));
    for (auto _ : state) {
        if (!SaveProgram(m, prompter, clock))
            state.SkipWithError("save failed");
    }
}

void buildText(benchmark::State &state, int type)
{
    SilentPrompter prompter;
    Model m = freshModel(type);
    if (LoadProgram(m, prompter, fixture(type), false, SetProgram) != LoadResult::Loaded) {
        state.SkipWithError("fixture does not load");
        return;
    }
    const QDateTime now(QDate(2024, 3, 15), QTime(13, 47));
    for (auto _ : state) {
        SortRecords(m, DeviceOrder, SetProgram);
        const QByteArray text =
            FormatProgramText(BuildImage(m, now), m.program().UsageText, m.program().ChannelNames);
        SortRecords(m, DisplayOrder, SetProgram);
        benchmark::DoNotOptimize(text.size());
    }
}

} // namespace

BENCHMARK_CAPTURE(loadFile, annual517, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(loadFile, astro236, TypeAstro)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(saveFile, annual517, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(saveFile, astro236, TypeAstro)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(loadText, annual517, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(loadText, astro236, TypeAstro)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(buildText, annual517, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(buildText, astro236, TypeAstro)->Unit(benchmark::kMicrosecond);
