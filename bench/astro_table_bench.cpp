// The astro table of a year (366 days, sunrise and sunset each by an hourly search), as the
// astro settings' Ok builds it, for a place in central Europe and one near the polar circle
// where many days have no crossing.
#include "calendar/Sun.h"

#include <benchmark/benchmark.h>

using namespace zx;

namespace {

void BuildAstroTableYear(benchmark::State &state)
{
    const double latitude = static_cast<double>(state.range(0));
    for (auto _ : state) {
        AstroTableRows t = BuildAstroTable(-7.5, latitude, 60, 2028);
        benchmark::DoNotOptimize(t);
    }
    state.SetItemsProcessed(state.iterations() * AstroDays);
}
BENCHMARK(BuildAstroTableYear)->Arg(48)->Arg(68)->Unit(benchmark::kMillisecond);

void OneSunrise(benchmark::State &state)
{
    int day = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Sunrise(day, 6, 48));
        day = day % 28 + 1;
    }
}
BENCHMARK(OneSunrise);

} // namespace
