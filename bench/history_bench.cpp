// Undo and redo on a deep stack, and pasting many numbers: a step holds
// what changed, so undo and redo cost the same on a stack of ten entries
// and on one of a million.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/calc/calculator.h"
#include "core/commands/clipboard.h"
#include "core/commands/dispatch.h"
#include "core/number/numtext.h"

using namespace tallix;

namespace {

struct NoShell : Shell {
    void ShowError(const std::string&) override {}
};

std::vector<std::string> Levels(std::size_t n) {
    std::vector<std::string> levels;
    levels.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        levels.push_back(FormatStackValue(static_cast<Value>(i) / 7.0L + 1e-3L, '.'));
    return levels;
}

// One step of the command on a stack of state.range(0) entries, then undo
// (timed) and redo (not timed), or the reverse.
void UndoRedo(benchmark::State& state, Cmd cmd, bool timeUndo) {
    NoShell shell;
    Calculator calc(shell);
    calc.Load([&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack(Levels(static_cast<std::size_t>(state.range(0))));
    });
    RunCommand(calc, cmd);
    if (!calc.CanUndo()) state.SkipWithError("the command made no step");
    for (auto _ : state) {
        if (timeUndo) {
            if (!calc.Undo()) state.SkipWithError("undo failed");
            state.PauseTiming();
            calc.Redo();
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            calc.Undo();
            state.ResumeTiming();
            if (!calc.Redo()) state.SkipWithError("redo failed");
        }
    }
    state.counters["depth"] = static_cast<double>(calc.Depth());
}

void BM_UndoAdd(benchmark::State& s) { UndoRedo(s, Cmd::Add, true); }
void BM_RedoAdd(benchmark::State& s) { UndoRedo(s, Cmd::Add, false); }
void BM_UndoClear(benchmark::State& s) { UndoRedo(s, Cmd::Clr, true); }
void BM_RedoClear(benchmark::State& s) { UndoRedo(s, Cmd::Clr, false); }
void BM_UndoRotate(benchmark::State& s) { UndoRedo(s, Cmd::Rotate, true); }
void BM_UndoSum(benchmark::State& s) { UndoRedo(s, Cmd::Sum, true); }
BENCHMARK(BM_UndoAdd)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedoAdd)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoClear)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedoClear)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRotate)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoSum)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A command's own cost with its step recorded, on a shallow and a deep
// stack; the history fills up to its limit of steps and then drops the
// oldest.
void BM_SwapWithHistory(benchmark::State& state) {
    NoShell shell;
    Calculator calc(shell);
    calc.Load([&](tallix::Calculator::Change& ch) {
        ch.ReplaceStack(Levels(static_cast<std::size_t>(state.range(0))));
    });
    for (auto _ : state) RunCommand(calc, Cmd::Swap);
    state.counters["steps"] = static_cast<double>(calc.UndoHistory().UndoCount());
}
BENCHMARK(BM_SwapWithHistory)->Arg(10)->Arg(1000000)->Unit(benchmark::kMicrosecond);

std::string PasteText(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += FormatStackValue(static_cast<Value>(i) / 7.0L + 1e-3L, '.');
        text += "\r\n";
    }
    return text;
}

void BM_Paste100k(benchmark::State& state) {
    const std::string text = PasteText(100000);
    for (auto _ : state) {
        NoShell shell;
        Calculator calc(shell);
        if (!tallix::PasteText(calc, text)) state.SkipWithError("paste failed");
        benchmark::DoNotOptimize(calc.Depth());
        state.PauseTiming();
        {
            Calculator gone(shell); // the old stack's release is not the paste's
        }
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Paste100k)->Unit(benchmark::kMillisecond);

void BM_UndoPaste100k(benchmark::State& state) {
    const std::string text = PasteText(100000);
    NoShell shell;
    Calculator calc(shell);
    calc.Load([&](tallix::Calculator::Change& ch) { ch.ReplaceStack(Levels(1000000)); });
    tallix::PasteText(calc, text);
    for (auto _ : state) {
        if (!calc.Undo()) state.SkipWithError("undo failed");
        state.PauseTiming();
        calc.Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoPaste100k)->Unit(benchmark::kMillisecond);

} // namespace

// The history's own cost per step in the shape of a batch run of
// arithmetic: a number entered (one push), then a two-argument command (two
// pops and a push, with new last arguments), at the default cap, so that
// every step also drops the oldest.
void BM_RecordBatchSteps(benchmark::State& state) {
    History h;
    if (state.range(0)) h.SetLimits({static_cast<std::size_t>(state.range(0))});
    TextStack stack;
    const std::string a = "2.71828182845904524", b = "1.41421356237309505";
    Value lastX = 0, lastY = 0;
    std::uint32_t lastNum = 0;
    const std::int32_t fix = -1, wordSize = 16;
    const Base base{};
    const AngleUnit unit = AngleUnit::Radians;
    const ModeView view{lastX, lastY, lastNum, fix, base, wordSize, unit};
    stack.push(a);
    std::size_t steps = 0;
    for (auto _ : state) {
        h.Begin(view, "Enter");
        h.Pushed(b);
        stack.push(b);
        h.End(view, stack);
        h.Begin(view, "+");
        h.Popped(stack.at(0));
        h.Popped(stack.at(1));
        stack.pop();
        stack.pop();
        lastX = lastX + 1;
        lastY = lastY + 2;
        lastNum = 2;
        h.Pushed(a);
        stack.push(a);
        h.End(view, stack);
        steps += 2;
    }
    state.counters["steps"] = benchmark::Counter(
        static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    benchmark::DoNotOptimize(h.UndoCount());
}
BENCHMARK(BM_RecordBatchSteps)->Arg(0)->Arg(1000);
