// Measures loading the string tables: the first text a window asks for pays for it.
#include "platform/Localizer.h"

#include <benchmark/benchmark.h>

static void LocalizerLookup(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalizedString(QStringLiteral("MaleShort")));
}
BENCHMARK(LocalizerLookup);
BENCHMARK_MAIN();
