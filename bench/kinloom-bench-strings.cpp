// Measures loading the string tables: the first text a window asks for pays for it.
#include "BenchSupport.h"
#include "platform/Localizer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

static void LocalizerLookup(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalizedString(QStringLiteral("MaleShort")));
}
BENCHMARK(LocalizerLookup);

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
