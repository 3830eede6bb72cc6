// Saving and loading a 100,000-entry stack: as a stack file (with the
// synced replace) and through the settings store.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/calc/calculator.h"
#include "core/number/numtext.h"
#include "core/persist/settings.h"
#include "core/persist/stackfile.h"
#include "memory_store.h"

using namespace tallix;
using namespace tallix::persist;

namespace {

constexpr int kEntries = 100000;

std::vector<std::string> TypicalStack() {
    std::vector<std::string> levels;
    levels.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) levels.push_back(FormatStackValue(i / 7.0L + 1e-3L, '.'));
    return levels;
}

struct NoShell : Shell {
    void ShowError(const std::string&) override {}
};

std::string BenchFile() {
    return (std::filesystem::temp_directory_path() / "tallix-bench.stk").string();
}

void BM_SaveStackFile(benchmark::State& state) {
    NoShell shell;
    Calculator stack(shell);
    stack.Load([&](tallix::Calculator::Change& ch) { ch.ReplaceStack(TypicalStack()); });
    const std::string path = BenchFile();
    for (auto _ : state)
        if (!SaveStackFile(path, stack)) state.SkipWithError("save failed");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveStackFile)->Unit(benchmark::kMillisecond);

void BM_OpenStackFile(benchmark::State& state) {
    NoShell shell;
    Calculator stack(shell);
    stack.Load([&](tallix::Calculator::Change& ch) { ch.ReplaceStack(TypicalStack()); });
    const std::string path = BenchFile();
    if (!SaveStackFile(path, stack)) state.SkipWithError("save failed");
    for (auto _ : state) {
        Calculator loaded(shell);
        FileStatus st;
        loaded.Load([&](Calculator::Change& c) { st = LoadStackFile(path, c); });
        if (!st) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(loaded.Depth());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenStackFile)->Unit(benchmark::kMillisecond);

void BM_SaveSettings(benchmark::State& state) {
    NoShell shell;
    Calculator calc(shell);
    calc.Load([&](tallix::Calculator::Change& ch) { ch.ReplaceStack(TypicalStack()); });
    WindowSettings window;
    for (auto _ : state) {
        MemorySettingsStore store;
        benchmark::DoNotOptimize(SaveSettings(store, calc, window));
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

void BM_LoadSettings(benchmark::State& state) {
    NoShell shell;
    Calculator saved(shell);
    saved.Load([&](tallix::Calculator::Change& ch) { ch.ReplaceStack(TypicalStack()); });
    MemorySettingsStore full;
    SaveSettings(full, saved, WindowSettings{});
    for (auto _ : state) {
        state.PauseTiming();
        MemorySettingsStore store = full; // a fresh store each time, as a start has
        Calculator calc(shell);
        WindowSettings window;
        state.ResumeTiming();
        LoadSettings(store, calc, window, ScreenSize{1920, 1080});
        benchmark::DoNotOptimize(calc.Depth());
    }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMillisecond);

} // namespace
