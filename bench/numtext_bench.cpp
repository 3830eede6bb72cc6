// Formatting and parsing run on every push and pop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

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

// The cost across the range: 64 full-precision values near each power of
// ten (the last scale lies among the subnormals), formatted to their stack
// texts and parsed back from them.
namespace {

const char* const kScales[] = {"E0", "E27", "E100", "E1000", "E4900", "E-4900", "E-4940"};

std::vector<Value> ValuesNear(int scale) {
    std::vector<Value> out;
    Value unit = *ParseReal(std::string("1") + kScales[scale], '.');
    Value step = 1.0L / 7;
    for (int i = 0; i < 64; ++i) {
        out.push_back(unit * (1 + step));
        step = std::fmod(step * 3.7L + 0.113L, 8.0L);
    }
    return out;
}

std::vector<std::string> TextsNear(int scale) {
    std::vector<std::string> out;
    for (Value v : ValuesNear(scale)) {
        std::string s = FormatStackValue(v, '.');
        // Subnormals write as 0: give them digits of their own.
        if (s == "0") s = "3.64519953188247460" + std::to_string(out.size() % 10) + "E-4940";
        out.push_back(s);
    }
    return out;
}

void ScaleLabels(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < static_cast<int>(std::size(kScales)); ++i) b->Arg(i);
}

} // namespace

static void BM_FormatAtScale(benchmark::State& state) {
    const std::vector<Value> values = ValuesNear(static_cast<int>(state.range(0)));
    state.SetLabel(kScales[state.range(0)]);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FormatStackValue(values[i++ % 64], '.'));
}
BENCHMARK(BM_FormatAtScale)->Apply(ScaleLabels);

static void BM_ParseAtScale(benchmark::State& state) {
    const std::vector<std::string> texts = TextsNear(static_cast<int>(state.range(0)));
    state.SetLabel(kScales[state.range(0)]);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ParseReal(texts[i++ % 64], '.'));
}
BENCHMARK(BM_ParseAtScale)->Apply(ScaleLabels);

// A typed number with more digits than the stack keeps.
static void BM_ParseLongDigits(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseReal("3.14159265358979323846264338327950288E1234", '.'));
}
BENCHMARK(BM_ParseLongDigits);

// The rare cases the 128-bit powers cannot settle: an exact tie of the 18th
// digit, and a text exactly half-way between two values.
static void BM_FormatExactTie(benchmark::State& state) {
    const Value tie = 12345678901234567850.0L;
    for (auto _ : state) benchmark::DoNotOptimize(FormatStackValue(tie, '.'));
}
BENCHMARK(BM_FormatExactTie);

static void BM_ParseHalfWay(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ParseReal("1.0000000000000000000542101086242752217003726400434970855712890625", '.'));
}
BENCHMARK(BM_ParseHalfWay);
