// One command's whole work (pop and parse, compute, format and push)
// for the operations, and the slowest inputs of the helpers.
#include <benchmark/benchmark.h>

#include <string>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"
#include "core/number/mathfuncs.h"

using namespace tallix;

namespace {

struct NoShell : Shell {
    void ShowError(const std::string&) override {}
};

// Enters the arguments and runs the command, as a batch line would.
void RunCommand(benchmark::State& state, std::initializer_list<const char*> args, Cmd cmd,
                int angleMode = 2) {
    NoShell shell;
    Calculator calc(shell);
    calc.Load([&](tallix::Calculator::Change& ch) {
        ch.SelectAngleMode(AngleUnitFromNumber(angleMode));
    });
    for (auto _ : state) {
        calc.Load([&](Calculator::Change& ch) {
            for (const char* a : args) {
                ch.SetEntry(a);
                ch.EnterEntryLine();
            }
        });
        RunCommand(calc, cmd);
        calc.Load([&](tallix::Calculator::Change& ch) { ch.ClearStack(); });
    }
}

void BM_Sin(benchmark::State& s) { RunCommand(s, {"-8.16830"}, Cmd::Sin); }
void BM_SinDegrees(benchmark::State& s) { RunCommand(s, {"1E22"}, Cmd::Sin, 1); }
void BM_Ln(benchmark::State& s) { RunCommand(s, {"123.4567"}, Cmd::Ln); }
void BM_Sqrt(benchmark::State& s) { RunCommand(s, {"835498.878"}, Cmd::Sqrt); }
void BM_PowReal(benchmark::State& s) { RunCommand(s, {"2.345", "-3.217"}, Cmd::Pow); }
void BM_PowWhole(benchmark::State& s) { RunCommand(s, {"1.0000001", "2147483647"}, Cmd::Pow); }
void BM_XRoot(benchmark::State& s) { RunCommand(s, {"1E4000", "3"}, Cmd::XRoot); }
void BM_Mod(benchmark::State& s) { RunCommand(s, {"-123456", "789"}, Cmd::Mod); }
void BM_And(benchmark::State& s) { RunCommand(s, {"40388", "32975"}, Cmd::And); }
void BM_ToFrac(benchmark::State& s) { RunCommand(s, {"123.4567890123"}, Cmd::ToFrac); }
void BM_CombLargest(benchmark::State& s) { RunCommand(s, {"1754", "877"}, Cmd::Comb); }
BENCHMARK(BM_Sin);
BENCHMARK(BM_SinDegrees);
BENCHMARK(BM_Ln);
BENCHMARK(BM_Sqrt);
BENCHMARK(BM_PowReal);
BENCHMARK(BM_PowWhole);
BENCHMARK(BM_XRoot);
BENCHMARK(BM_Mod);
BENCHMARK(BM_And);
BENCHMARK(BM_ToFrac);
BENCHMARK(BM_CombLargest);

void BM_FactorialLargest(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Factorial(1754));
}
BENCHMARK(BM_FactorialLargest);

} // namespace
