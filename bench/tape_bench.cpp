// The tape's cost per step: a command or an entered number with a full
// tape (10,000 lines, each new one pushing the oldest out) against the same
// without a tape; and the text of the tape's file for a full tape.
#include <benchmark/benchmark.h>

#include <string>

#include "core/calc/calculator.h"
#include "core/commands/dispatch.h"
#include "core/tape/tape.h"
#include "core/tape/tapefile.h"

using namespace tallix;

namespace {

struct NoShell : Shell {
    void ShowError(const std::string&) override {}
};

// Enter duplicates level 1, - subtracts: two lines a pair, depth unchanged.
void Steps(benchmark::State& state, bool taped) {
    NoShell shell;
    Calculator calc(shell);
    tape::Tape tape;
    calc.Load([](Calculator::Change& c) { c.PushText("0.479425538604203"); });
    if (taped) {
        tape.Attach(calc);
        while (tape.Size() < tape::Tape::kMaxLines) {
            RunCommand(calc, Cmd::Dup);
            RunCommand(calc, Cmd::Sub);
        }
    }
    for (auto _ : state) {
        RunCommand(calc, Cmd::Dup);
        RunCommand(calc, Cmd::Sub);
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["lines"] = static_cast<double>(tape.Size());
}
void BM_StepWithoutTape(benchmark::State& s) { Steps(s, false); }
void BM_StepWithFullTape(benchmark::State& s) { Steps(s, true); }

void BM_SerializeFullTape(benchmark::State& state) {
    NoShell shell;
    Calculator calc(shell);
    tape::Tape tape;
    tape.Attach(calc);
    while (tape.Size() < tape::Tape::kMaxLines) {
        RunCommand(calc, Cmd::Pi);
        RunCommand(calc, Cmd::Sin);
    }
    for (auto _ : state) benchmark::DoNotOptimize(tape::Serialize(tape));
}

BENCHMARK(BM_StepWithoutTape);
BENCHMARK(BM_StepWithFullTape);
BENCHMARK(BM_SerializeFullTape)->Unit(benchmark::kMillisecond);

} // namespace
