// The year simulation of full programs: the 324-record annual device file and the 120-record
// astro device file with its astro table. "Window" is what the simulation window does when a
// year is chosen: take the program, compute the day plan and one day's segments.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "output/YearSimulation.h"
#include "platform/Prompter.h"

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

Model loaded(benchmark::State &state, int type)
{
    Model m;
    m.device.Uhrentyp = type;
    m.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    m.device.DeviceCode = type == TypeAstro ? 80 : 72;
    SilentPrompter prompter;
    const QString file = QStringLiteral(ZX_TEST_DATA) + (type == TypeAstro ? QStringLiteral("/full236.zxp")
                                                                           : QStringLiteral("/full517.zxp"));
    if (LoadProgram(m, prompter, file, false, SetProgram) != LoadResult::Loaded)
        state.SkipWithError("fixture does not load");
    return m;
}

void dayPlan(benchmark::State &state, int type)
{
    const Model m = loaded(state, type);
    const YearSimulation sim(m);
    for (auto _ : state)
        benchmark::DoNotOptimize(sim.dayPlan(2030));
}

void daySegments(benchmark::State &state, int type)
{
    const Model m = loaded(state, type);
    const YearSimulation sim(m);
    const DayPlan plan = sim.dayPlan(2030);
    int day = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(sim.daySegments(plan, 1, 1 + day));
        day = (day + 37) % plan.days;
    }
}

void window(benchmark::State &state, int type)
{
    const Model m = loaded(state, type);
    for (auto _ : state) {
        const YearSimulation sim(m);
        const DayPlan plan = sim.dayPlan(2030);
        benchmark::DoNotOptimize(sim.daySegments(plan, 1, 1));
    }
}

} // namespace

BENCHMARK_CAPTURE(dayPlan, annual324, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(dayPlan, astro120, TypeAstro)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(daySegments, annual324, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(daySegments, astro120, TypeAstro)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(window, annual324, TypeAnnual)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(window, astro120, TypeAstro)->Unit(benchmark::kMicrosecond);
