// Formatting and parsing run on every push and pop.
#include <benchmark/benchmark.h>

#include "core/number/numtext.h"

using namespace tallix;

static void BM_FormatThenParse(benchmark::State& state) {
    const Value values[] = {1.0L / 3, 3.14159265358979323846L, -2.5e-7L, 123456789.0L, 1e300L, 0.1L,
                            42.0L,    6.02214076e23L};
    std::size_t i = 0;
    for (auto _ : state) {
        std::string s = FormatStackValue(values[i++ % 8], '.');
        benchmark::DoNotOptimize(ParseReal(s, '.'));
    }
}
BENCHMARK(BM_FormatThenParse);

static void BM_FormatStackValue(benchmark::State& state) {
    Value v = 1.0L / 3;
    for (auto _ : state) benchmark::DoNotOptimize(FormatStackValue(v, '.'));
}
BENCHMARK(BM_FormatStackValue);

static void BM_ParseReal(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ParseReal("0.333333333333333333", '.'));
}
BENCHMARK(BM_ParseReal);
